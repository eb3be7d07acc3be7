// A plain correspondence analysis to check ta3afc against: the dense matrix of standardised
// residuals decomposed whole (a singular value decomposition: every factor, both sides at once),
// then the same rules as the program's (threshold, sign convention, transition formula).
#pragma once

#include "tools/ta3afc/afc.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <vector>

namespace talmer::test::afc {

inline talmer::afc::ResultatAfc AnalyseReference(const talmer::afc::TableAfc &table)
{
    using Eigen::Index;
    const Index p = table.NbParties();
    auto n = [&](Index i, Index j) { return static_cast<double>(table.effectifs[static_cast<std::size_t>(i * p + j)]); };
    std::vector<Index> actives, lignes;
    for (Index j = 0; j < p; ++j)
        if (table.drapeaux[static_cast<std::size_t>(j)] == '1')
            actives.push_back(j);
    double total = 0;
    for (Index i = 0; i < table.ni; ++i) {
        double t = 0;
        for (Index j : actives)
            t += n(i, j);
        if (t > 0)
            lignes.push_back(i);
        total += t;
    }
    const Index nI = static_cast<Index>(lignes.size()), nJ = static_cast<Index>(actives.size());
    Eigen::MatrixXd pm(nI, p);
    for (Index a = 0; a < nI; ++a)
        for (Index j = 0; j < p; ++j)
            pm(a, j) = n(lignes[static_cast<std::size_t>(a)], j);
    Eigen::MatrixXd act(nI, nJ);
    for (Index b = 0; b < nJ; ++b)
        act.col(b) = pm.col(actives[static_cast<std::size_t>(b)]) / total;
    const Eigen::VectorXd r = act.rowwise().sum(), c = act.colwise().sum().transpose();
    const Eigen::MatrixXd s =
        r.cwiseSqrt().cwiseInverse().asDiagonal() * (act - r * c.transpose()) * c.cwiseSqrt().cwiseInverse().asDiagonal();
    const Eigen::BDCSVD<Eigen::MatrixXd> svd(s, Eigen::ComputeThinU | Eigen::ComputeThinV);

    talmer::afc::ResultatAfc res;
    const Eigen::VectorXd lambda = svd.singularValues().cwiseAbs2();
    for (Index k = 0; k < lambda.size(); ++k)
        if (lambda(k) > 1e-12 * std::max(lambda.sum(), 1.0))
            res.valeursPropres.push_back(lambda(k));
    const Index f = std::min<Index>(static_cast<Index>(res.valeursPropres.size()), table.nf);
    res.nbFacteurs = static_cast<std::int32_t>(f);
    Eigen::MatrixXd g = (svd.matrixV().leftCols(f) * svd.singularValues().head(f).asDiagonal()).array().colwise() /
                        c.array().sqrt();
    Eigen::MatrixXd lig = (svd.matrixU().leftCols(f) * svd.singularValues().head(f).asDiagonal()).array().colwise() /
                          r.array().sqrt();
    for (Index k = 0; k < f; ++k) {
        Index loin = 0;
        for (Index b = 1; b < nJ; ++b)
            if (std::abs(g(b, k)) > std::abs(g(loin, k)) * (1 + 1e-9))
                loin = b;
        if (g(loin, k) < 0) {
            g.col(k) = -g.col(k);
            lig.col(k) = -lig.col(k);
        }
    }
    res.points.resize(static_cast<std::size_t>(p));
    for (Index j = 0; j < p; ++j) {
        auto &pt = res.points[static_cast<std::size_t>(j)];
        const auto it = std::find(actives.begin(), actives.end(), j);
        pt.actif = it != actives.end();
        const Eigen::VectorXd profil = pm.col(j) / pm.col(j).sum();
        pt.masse = pm.col(j).sum() / total;
        pt.distance = ((profil - r).array().square() / r.array()).sum();
        for (Index k = 0; k < f; ++k) {
            const double x = pt.actif ? g(it - actives.begin(), k) : profil.dot(lig.col(k)) / std::sqrt(lambda(k));
            pt.coordonnees.push_back(x);
            pt.contributions.push_back(pt.actif ? pt.masse * x * x / lambda(k) : 0.0);
            pt.cosinus2.push_back(std::min(1.0, x * x / pt.distance));
        }
    }
    return res;
}

} // namespace talmer::test::afc
