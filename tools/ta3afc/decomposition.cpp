#include "tools/ta3afc/decomposition.h"

#include <Spectra/MatOp/DenseSymMatProd.h>
#include <Spectra/SymEigsSolver.h>

#include <algorithm>
#include <exception>

namespace talmer::afc {

namespace {

// Up to this many rows and columns the eigenvectors come with the eigenvalues, all of them: it
// costs less than a Lanczos run would save.
constexpr Eigen::Index DimensionComplete = 400;
// A vector of more non-zero cells than its length over this goes through the dense products.
constexpr Eigen::Index PartDense = 4;
// Dense vectors are added by blocks of this many.
constexpr Eigen::Index Bloc = 256;

template <int Options>
Eigen::MatrixXd GramDe(const Eigen::SparseMatrix<double, Options> &m, const Eigen::VectorXd &centre)
{
    const Eigen::Index n = m.innerSize();
    Eigen::MatrixXd g = Eigen::MatrixXd::Zero(n, n);
    Eigen::MatrixXd denses(n, std::min(Bloc, std::max<Eigen::Index>(m.outerSize(), 1)));
    Eigen::Index nbDenses = 0;
    auto ajouteDenses = [&] {
        if (nbDenses > 0)
            g.selfadjointView<Eigen::Lower>().rankUpdate(denses.leftCols(nbDenses));
        nbDenses = 0;
    };
    const auto *debuts = m.outerIndexPtr();
    const auto *indices = m.innerIndexPtr();
    const double *valeurs = m.valuePtr();
    for (Eigen::Index k = 0; k < m.outerSize(); ++k) {
        const Eigen::Index debut = debuts[k], fin = debuts[k + 1];
        if ((fin - debut) * PartDense > n) {
            auto colonne = denses.col(nbDenses);
            colonne.setZero();
            for (Eigen::Index p = debut; p < fin; ++p)
                colonne(indices[p]) = valeurs[p];
            if (++nbDenses == denses.cols())
                ajouteDenses();
            continue;
        }
        // The cells of a vector come in increasing index, so each pair falls in the lower triangle.
        for (Eigen::Index p = debut; p < fin; ++p) {
            double *colonne = g.col(indices[p]).data();
            const double vp = valeurs[p];
            for (Eigen::Index q = p; q < fin; ++q)
                colonne[indices[q]] += vp * valeurs[q];
        }
    }
    ajouteDenses();
    g.selfadjointView<Eigen::Lower>().rankUpdate(centre, -1.0);
    return g;
}

// The eigenvectors of the nb largest eigenvalues of g (lower triangle), by a Lanczos run; empty
// when it does not converge (the caller then decomposes g whole).
Eigen::MatrixXd PlusGrandsVecteurs(const Eigen::MatrixXd &g, Eigen::Index nb)
{
    const Eigen::Index n = g.rows();
    if (nb >= n)
        return {};
    try {
        Spectra::DenseSymMatProd<double, Eigen::Lower> produit(g);
        Spectra::SymEigsSolver<Spectra::DenseSymMatProd<double, Eigen::Lower>> solveur(
            produit, nb, std::min(n, std::max<Eigen::Index>(2 * nb + 1, 20)));
        solveur.init();
        solveur.compute(Spectra::SortRule::LargestAlge, 1000, 1e-12);
        if (solveur.info() != Spectra::CompInfo::Successful)
            return {};
        return solveur.eigenvectors(nb);
    } catch (const std::exception &) {
        return {};
    }
}

} // namespace

Eigen::MatrixXd Gram(const Eigen::SparseMatrix<double, Eigen::RowMajor> &m, const Eigen::VectorXd &centre)
{
    return GramDe(m, centre);
}

Eigen::MatrixXd Gram(const Eigen::SparseMatrix<double, Eigen::ColMajor> &m, const Eigen::VectorXd &centre)
{
    return GramDe(m, centre);
}

Decomposition Decompose(const Residus &s, std::int32_t nbVecteurs)
{
    Decomposition d;
    // Parts x parts when there are no more parts than rows, else rows x rows.
    const bool cotePartie = s.x.cols() <= s.x.rows();
    const Eigen::MatrixXd g = cotePartie ? Gram(s.x, s.b) : Gram(Eigen::SparseMatrix<double, Eigen::ColMajor>(s.x), s.a);
    const Eigen::Index n = g.rows();
    const double seuil = 1e-12 * std::max(g.trace(), 1.0);

    bool complete = n <= DimensionComplete;
    Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solveur(g, complete ? Eigen::ComputeEigenvectors
                                                                       : Eigen::EigenvaluesOnly);
    if (solveur.info() != Eigen::Success)
        return d;
    for (Eigen::Index k = n - 1; k >= 0 && solveur.eigenvalues()(k) > seuil; --k)
        d.valeurs.push_back(solveur.eigenvalues()(k));
    const auto nb = static_cast<Eigen::Index>(
        std::min<std::size_t>(d.valeurs.size(), static_cast<std::size_t>(std::max(nbVecteurs, 0))));

    Eigen::MatrixXd vecteurs;
    if (!complete && nb > 0) {
        vecteurs = PlusGrandsVecteurs(g, nb);
        if (vecteurs.cols() != nb) {
            complete = true;
            solveur.compute(g, Eigen::ComputeEigenvectors);
            if (solveur.info() != Eigen::Success)
                return d;
        }
    }
    if (complete)
        vecteurs = solveur.eigenvectors().rightCols(nb).rowwise().reverse();
    for (Eigen::Index k = 0; k < nb; ++k) {
        if (cotePartie) {
            d.vecteurs.push_back(vecteurs.col(k));
        } else {
            // From a row-side vector u to its part-side one, S'u / sqrt(lambda), of length 1.
            Eigen::VectorXd v = s.ProduitTranspose(vecteurs.col(k));
            v /= v.norm();
            d.vecteurs.push_back(std::move(v));
        }
    }
    d.reussie = true;
    return d;
}

} // namespace talmer::afc
