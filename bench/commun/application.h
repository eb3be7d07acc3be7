// The Qt application of a window benchmark.
#pragma once

#include <QApplication>

#include <clocale>

namespace bench {

// Chooses the off-screen platform unless QT_QPA_PLATFORM names one; hands argc back so that it
// can run before the application is built.
inline int &HorsEcranParDefaut(int &argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

// A Qt application (Q: QApplication, or QCoreApplication where nothing is drawn) drawn off screen
// by default. Qt puts the program in the user's locale; the numbers the benchmark prints keep
// a full stop whatever it is.
template <class Q>
class ApplicationDe : public Q {
public:
    ApplicationDe(int &argc, char **argv) : Q(HorsEcranParDefaut(argc), argv) { std::setlocale(LC_NUMERIC, "C"); }
};
using Application = ApplicationDe<QApplication>;
using ApplicationSansFenetre = ApplicationDe<QCoreApplication>;

} // namespace bench
