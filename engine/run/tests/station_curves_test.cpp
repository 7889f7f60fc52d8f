// p-y curves generated at every station (p-y option 3), checked on single
// free-head piles loaded at the ground line against a beam-on-springs
// solution worked out here: Hermite beam elements between the stations, a
// nonlinear spring at every node from the published curve at its depth
// (tributary half an increment at both ends), solved by secant iteration.
// Nothing of the engine's solver or curve models is used for the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "run_fixture.h"

namespace korvel::engine {
namespace {

using testing::DataFile;
using testing::Lines;
using testing::ScratchRun;

constexpr int kIncrements = 100;
constexpr double kH = 6.0;      // in: a 50 ft pile
constexpr double kEI = 8.0e10;  // lbs-in2: a 24 in steel pipe, 1/2 in wall
constexpr double kB = 24.0;

// p (lbs/in, positive) at deflection y >= 0 and depth x below the ground.
using PublishedCurve = std::function<double(double y, double x)>;

// Published soft-clay criterion (1970), static.
PublishedCurve SoftClay(double c, double gamma, double e50) {
    return [=](double y, double x) {
        const double pu = std::min((3.0 + gamma * x / c + 0.5 * x / kB) * c * kB, 9.0 * c * kB);
        const double y50 = 2.5 * e50 * kB;
        return y >= 8.0 * y50 ? pu : 0.5 * pu * std::cbrt(y / y50);
    };
}

// Published criterion for stiff clay without free water (1972), static.
PublishedCurve StiffClayDry(double c, double gamma, double e50) {
    return [=](double y, double x) {
        const double pu = std::min((3.0 + gamma * x / c + 0.5 * x / kB) * c * kB, 9.0 * c * kB);
        const double y50 = 2.5 * e50 * kB;
        return y >= 16.0 * y50 ? pu : 0.5 * pu * std::pow(y / y50, 0.25);
    };
}

// Published sand criterion (1974), static.
double Table(double xb, const double* values) {
    const double d[] = {0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
    for (int i = 0; i < 9; ++i) {
        if (xb <= d[i + 1]) {
            return values[i] + (values[i + 1] - values[i]) * (xb - d[i]) / (d[i + 1] - d[i]);
        }
    }
    return values[9];
}
PublishedCurve Sand(double phiDegrees, double gamma, double k) {
    return [=](double y, double x) {
        const double pi = std::acos(-1.0);
        const double phi = phiDegrees * pi / 180.0, alpha = phi / 2.0, beta = pi / 4.0 + phi / 2.0;
        const double K0 = 0.4, Ka = std::pow(std::tan(pi / 4.0 - phi / 2.0), 2.0);
        const double t = std::tan(beta), tp = std::tan(phi), ta = std::tan(alpha);
        const double pst =
            gamma * x *
            (K0 * x * tp * std::sin(beta) / (std::tan(beta - phi) * std::cos(alpha)) +
             t / std::tan(beta - phi) * (kB + x * t * ta) +
             K0 * x * t * (tp * std::sin(beta) - ta) - Ka * kB);
        const double psd = Ka * kB * gamma * x * (std::pow(t, 8.0) - 1.0) +
                           K0 * kB * gamma * x * tp * std::pow(t, 4.0);
        const double ps = std::min(pst, psd);
        const double A[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.9, 0.88, 0.88};
        const double B[] = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.5, 0.5};
        const double pu = Table(x / kB, A) * ps, pm = Table(x / kB, B) * ps;
        const double yu = 3.0 * kB / 80.0, ym = kB / 60.0;
        const double kx = k * x;
        if (!(x > 0.0)) return 0.0;
        const double m = (pu - pm) / (yu - ym);
        const double n = pm / (m * ym);
        const double C = pm / std::pow(ym, 1.0 / n);
        const double yk = std::pow(C / kx, n / (n - 1.0));
        double p;
        if (y <= yk) {
            p = kx * y;
        } else if (y <= ym) {
            p = C * std::pow(y, 1.0 / n);
        } else if (y <= yu) {
            p = pm + m * (y - ym);
        } else {
            p = pu;
        }
        return std::min(p, kx * y);
    };
}

// Strong rock: Es = 2000 su up to 0.0004 b, then 100 su up to su b.
PublishedCurve StrongRock(double qu) {
    return [=](double y, double) {
        const double su = qu / 2.0, y1 = 0.0004 * kB;
        if (y <= y1) return 2000.0 * su * y;
        return std::min(2000.0 * su * y1 + 100.0 * su * (y - y1), su * kB);
    };
}

// Published weak-rock criterion (1997): depth below the rock surface.
PublishedCurve WeakRock(double qu, double rqd, double krm, double Eir) {
    return [=](double y, double xr) {
        const double alpha = 1.0 - 2.0 / 3.0 * rqd / 100.0;
        const double pur =
            xr <= 3 * kB ? alpha * qu * kB * (1 + 1.4 * xr / kB) : 5.2 * alpha * qu * kB;
        const double Kir = (xr <= 3 * kB ? 100 + 400 * xr / (3 * kB) : 500) * Eir;
        const double yrm = krm * kB;
        const double yA = std::pow(pur / (2 * std::pow(yrm, 0.25) * Kir), 4.0 / 3.0);
        if (y <= yA) return Kir * y;
        if (y <= 16 * yrm) return pur / 2 * std::pow(y / yrm, 0.25);
        return pur;
    };
}

struct PileResult {
    double headDeflection = 0.0;
    double maxMoment = 0.0;
};

// Solves A x = b for the beam's symmetric positive definite band matrix
// (Gaussian elimination within the band, no pivoting needed).
std::vector<double> SolveBand(std::vector<std::vector<double>> A, std::vector<double> b) {
    constexpr size_t kBand = 4;  // a node's two freedoms couple with the next node's
    const size_t n = b.size();
    for (size_t col = 0; col < n; ++col) {
        for (size_t r = col + 1; r < n && r <= col + kBand; ++r) {
            const double f = A[r][col] / A[col][col];
            if (f == 0.0) continue;
            for (size_t c = col; c < n && c <= col + kBand; ++c) A[r][c] -= f * A[col][c];
            b[r] -= f * b[col];
        }
    }
    std::vector<double> x(n);
    for (size_t i = n; i-- > 0;) {
        double s = b[i];
        for (size_t c = i + 1; c < n && c <= i + kBand; ++c) s -= A[i][c] * x[c];
        x[i] = s / A[i][i];
    }
    return x;
}

// The reference: free head, lateral load P at the top, free tip.
PileResult BeamOnSprings(const PublishedCurve& curve, double P) {
    const int nodes = kIncrements + 1, dofs = 2 * nodes;
    const double L = kH, e = kEI / (L * L * L);
    const double ke[4][4] = {{12 * e, 6 * L * e, -12 * e, 6 * L * e},
                             {6 * L * e, 4 * L * L * e, -6 * L * e, 2 * L * L * e},
                             {-12 * e, -6 * L * e, 12 * e, -6 * L * e},
                             {6 * L * e, 2 * L * L * e, -6 * L * e, 4 * L * L * e}};
    std::vector<double> w(nodes, 0.0), secant(nodes, 0.0);
    for (int i = 0; i < nodes; ++i) {  // start from the secant at a hundredth of the width
        const double y0 = 0.01 * kB;
        secant[i] = curve(y0, i * kH) / y0;
    }
    std::vector<double> u;
    for (int iteration = 0; iteration < 500; ++iteration) {
        std::vector<std::vector<double>> K(dofs, std::vector<double>(dofs, 0.0));
        for (int el = 0; el < kIncrements; ++el) {
            for (int a = 0; a < 4; ++a) {
                for (int c = 0; c < 4; ++c) K[2 * el + a][2 * el + c] += ke[a][c];
            }
        }
        for (int i = 0; i < nodes; ++i) {
            const double tributary = (i == 0 || i == kIncrements) ? 0.5 * kH : kH;
            K[2 * i][2 * i] += secant[i] * tributary;
        }
        std::vector<double> f(dofs, 0.0);
        f[0] = P;
        u = SolveBand(K, f);
        double change = 0.0;
        for (int i = 0; i < nodes; ++i) {
            change = std::max(change, std::abs(u[2 * i] - w[i]));
            w[i] = u[2 * i];
            const double y = std::max(std::abs(w[i]), 1e-12);
            secant[i] = curve(y, i * kH) / y;
        }
        if (change < 1e-8) break;
    }
    PileResult r;
    r.headDeflection = w[0];
    // Element end moments from the Hermite shape functions.
    for (int el = 0; el < kIncrements; ++el) {
        const double d[4] = {u[2 * el], u[2 * el + 1], u[2 * el + 2], u[2 * el + 3]};
        for (int end = 0; end < 2; ++end) {
            // M = EI w'' at the element's ends.
            const double xi = end;
            const double b1 = (-6 + 12 * xi) / (L * L), b2 = (-4 + 6 * xi) / L;
            const double b3 = (6 - 12 * xi) / (L * L), b4 = (-2 + 6 * xi) / L;
            const double M = kEI * (b1 * d[0] + b2 * d[1] + b3 * d[2] + b4 * d[3]);
            r.maxMoment = std::max(r.maxMoment, std::abs(M));
        }
    }
    return r;
}

// The pile as a data file: H = 0, no earth pressure, curves at every station
// (or the described five per layer with `option` 2), one soil as `layers`
// equal layers reaching below the tip.
std::string PileFile(int type, const std::string& props, int layers, double P, int option = 3) {
    std::vector<std::string> l = {
        "Single pile",
        "1 0\t1\t0\t0\t" + std::to_string(option) + " 0 1 0 0",
        std::to_string(kIncrements) + " 6\t1000\t1E-5\t0\t96",
        "0\t" + std::to_string(kIncrements) + "\t1\t8E10",
        "1",
        "1\t0\t0\t" + std::to_string(P) + "\t0\t0",
        "0",
        "0\t96\t24\t100000\t100000\t1\t1\t0",
        "0\t0\t0\t0\t0\t0",
        "0",
        std::to_string(layers),
    };
    const double bottom = kIncrements * kH + 2 * kH;  // the profile's cut at the tip + 2h
    for (int i = 1; i <= layers; ++i) {
        std::ostringstream depth;
        depth << bottom * i / layers;
        l.push_back(std::to_string(type) + " " + depth.str() + " ");
        l.push_back(props);
        l.push_back(props);
    }
    l.push_back("0");
    return DataFile(l);
}

// Head deflection and largest moment from the report's last results table.
PileResult EnginePile(const std::string& data, std::string* report = nullptr) {
    ScratchRun run;
    const std::string text = run.Run(data);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(text.find("NOT CLOSED"), std::string::npos);
    EXPECT_EQ(text.find("EXCEEDED"), std::string::npos);
    if (report) *report = text;
    const std::vector<std::string> lines = Lines(text);
    size_t start = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("   ------    ----") == 0) start = i + 1;
    }
    PileResult r;
    for (size_t i = start; i < lines.size(); ++i) {
        std::istringstream row(lines[i]);
        int station;
        double x, defl, slope, moment;
        if (!(row >> station >> x >> defl >> slope >> moment)) break;
        if (station == 0) r.headDeflection = defl;
        r.maxMoment = std::max(r.maxMoment, std::abs(moment));
    }
    return r;
}

struct PileCase {
    const char* name;
    int type;
    const char* props;  // one LAYERPROPS line
    PublishedCurve curve;
    std::vector<double> loads;  // lbs, from small to near the pile's capacity in that soil
};

std::vector<PileCase> Cases() {
    return {
        {"soft clay",
         1,
         "0.0208 5 0.0  0.02 0.0  0.0  ",
         SoftClay(5, 0.0208, 0.02),
         {2000, 10000, 25000}},
        {"sand", 4, "0.0365 0.0  35 0.0  90 0.0  ", Sand(35, 0.0365, 90), {5000, 30000, 60000}},
        {"stiff clay without free water",
         3,
         "0.0694 14 0.0  0.005 0.0  0.0  ",
         StiffClayDry(14, 0.0694, 0.005),
         {10000, 50000, 100000}},
        {"weak rock",
         7,
         "0.08 1000 0.0  0.0005 50000 40 ",
         WeakRock(1000, 40, 0.0005, 50000),
         {50000, 200000, 500000}},
        {"strong rock",
         6,
         "0.09 5000 0.0  0.0  0.0  0.0  ",
         StrongRock(5000),
         {50000, 200000, 400000}},
    };
}

TEST(CurvesAtEveryStation, SinglePilesAgreeWithBeamOnSprings) {
    for (const PileCase& c : Cases()) {
        for (double P : c.loads) {
            const PileResult reference = BeamOnSprings(c.curve, P);
            const PileResult engine = EnginePile(PileFile(c.type, c.props, 1, P));
            EXPECT_NEAR(engine.headDeflection, reference.headDeflection,
                        0.03 * reference.headDeflection)
                << c.name << " at " << P;
            EXPECT_NEAR(engine.maxMoment, reference.maxMoment, 0.03 * reference.maxMoment)
                << c.name << " at " << P;
        }
    }
}

TEST(CurvesAtEveryStation, OneLayerAndTenIdenticalLayersAgree) {
    for (const PileCase& c : Cases()) {
        const double P = c.loads[1];
        const PileResult one = EnginePile(PileFile(c.type, c.props, 1, P));
        const PileResult ten = EnginePile(PileFile(c.type, c.props, 10, P));
        EXPECT_NEAR(ten.headDeflection, one.headDeflection, 0.01 * one.headDeflection) << c.name;
        EXPECT_NEAR(ten.maxMoment, one.maxMoment, 0.01 * one.maxMoment) << c.name;
    }
}

TEST(CurvesAtEveryStation, ReportEchoesTheOptionAndListsTheStations) {
    std::string report;
    EnginePile(PileFile(1, "0.0208 5 0.0  0.02 0.0  0.0  ", 1, 10000), &report);
    EXPECT_NE(report.find("      GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   =  1\n"
                          "      P-Y CURVES GENERATED AT EVERY STATION              =  1\n"),
              std::string::npos);
    EXPECT_NE(report.find("         P-Y CURVES GENERATED AT EVERY STATION\n"), std::string::npos);
    // One row per station from the ground line to the tip, no curve tables.
    EXPECT_NE(report.find("\n               0        0.10"), std::string::npos);
    EXPECT_NE(report.find("\n             100      600.00"), std::string::npos);
    EXPECT_EQ(report.find("AT THE EXCAVATION SIDE"), std::string::npos);

    // Option 2 keeps its report: no such lines.
    std::string described;
    EnginePile(PileFile(1, "0.0208 5 0.0  0.02 0.0  0.0  ", 1, 10000, 2), &described);
    EXPECT_EQ(described.find("AT EVERY STATION"), std::string::npos);
    EXPECT_NE(described.find("AT THE EXCAVATION SIDE"), std::string::npos);
}

TEST(CurvesAtEveryStation, UserCurvesStillComeFirst) {
    // The twelve user curves of the example, then the generated curves.
    std::ifstream in(std::string(KORVEL_EXAMPLES_DIR) + "/user_py_curves_english.kv5d",
                     std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string userOnly = "1 0\t1\t0\t2\t1 12 1 0 0\r\n";
    ASSERT_NE(data.find(userOnly), std::string::npos);
    data.replace(data.find(userOnly), userOnly.size(), "1 0\t1\t0\t2\t3 12 1 0 0\r\n");
    ScratchRun run;
    const std::string report = run.Run(data);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(report.find("INPUTTED  SOIL RESISTANCE (P-Y) CURVES"), std::string::npos);
    EXPECT_NE(report.find("         P-Y CURVES GENERATED AT EVERY STATION\n"), std::string::npos);
    EXPECT_EQ(report.find("NOT CLOSED"), std::string::npos);
    // The count the engine wrote to standard error: 12 user curves and one per
    // station from the excavation level to the tip.
    std::istringstream err(run.errors.substr(run.errors.find(" READ SOIL DATA....\n") + 20));
    int count = 0;
    err >> count;
    EXPECT_GT(count, 12 + 20);
    // The first curve of the plot file's part B is a user curve: station and count.
    EXPECT_NE(run.Read("wall.kv5p").find("\n 1 " + std::to_string(count) + "\n"),
              std::string::npos);
}

}  // namespace
}  // namespace korvel::engine
