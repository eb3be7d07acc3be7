// The decomposition at the heart of the correspondence analysis: every eigenvalue of S'S, S the
// standardised residuals of the active table, and the eigenvectors of the largest ones only.
//
// S = X - a b', with X_ij = n_ij / (T sqrt(r_i c_j)) as sparse as the table, a = sqrt(r) and
// b = sqrt(c). The cross-product matrix decomposed is that of the smaller side, X'X - b b'
// (parts x parts) or X X' - a a' (rows x rows): both have the eigenvalues of S'S. Dense rows of X
// go through blocked products, sparse ones through their own pairs of cells. All eigenvalues come
// from a tridiagonal reduction; the eigenvectors wanted come with it when the side is small, and
// otherwise from a truncated Lanczos solver (Spectra).
#pragma once

#include <Eigen/Dense>
#include <Eigen/SparseCore>

#include <cstdint>
#include <vector>

namespace talmer::afc {

struct Residus {
    Eigen::SparseMatrix<double, Eigen::RowMajor> x; // rows x active parts, columns sorted in each row
    Eigen::VectorXd a;                              // sqrt(r), one per row
    Eigen::VectorXd b;                              // sqrt(c), one per active part

    Eigen::VectorXd Produit(const Eigen::VectorXd &v) const { return x * v - a * b.dot(v); }
    Eigen::VectorXd ProduitTranspose(const Eigen::VectorXd &u) const { return x.transpose() * u - b * a.dot(u); }
};

struct Decomposition {
    bool reussie = false;
    std::vector<double> valeurs;           // every eigenvalue above 1e-12 x max(inertia, 1), largest first
    std::vector<Eigen::VectorXd> vecteurs; // unit eigenvectors on the parts side, for the first values
};

// Up to nbVecteurs eigenvectors (fewer when fewer eigenvalues pass the threshold).
Decomposition Decompose(const Residus &s, std::int32_t nbVecteurs);

// The lower triangle of the sum of the outer products of the outer vectors of m (its rows when
// row-major, its columns when column-major), less centre centre'.
Eigen::MatrixXd Gram(const Eigen::SparseMatrix<double, Eigen::RowMajor> &m, const Eigen::VectorXd &centre);
Eigen::MatrixXd Gram(const Eigen::SparseMatrix<double, Eigen::ColMajor> &m, const Eigen::VectorXd &centre);

} // namespace talmer::afc
