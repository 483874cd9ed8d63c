// ormavex-coefgen: generates the coefficient tables and shows single blocks.
//
//   ormavex-coefgen --family FIX|FREE --lambda 1.5 [--points 9] [--nu 0.1667] [--resolution 48]
//   ormavex-coefgen --write-tables DIR [--threads N]
//   ormavex-coefgen --convergence-study [--reference 192] [--threads N]
//
// Exit codes: 0 done, 1 run-time failure (message on stderr), 2 bad command line.

#include "CoefTables.h"
#include "ConvergenceStudy.h"
#include "TableFiles.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <map>
#include <optional>
#include <string>

namespace {

using namespace ormavex::coefgen;

constexpr const char* kUsage =
    "usage:\n"
    "  ormavex-coefgen --family FIX|FREE --lambda L [--points 9|7|5] [--nu NU] [--resolution M]\n"
    "      print the four coefficient tables of one plate (Lx/Ly = L)\n"
    "  ormavex-coefgen --write-tables DIR [--threads N]\n"
    "      write FREE_84.DAT .. FIX_44.DAT and the side-ratio list into DIR\n"
    "  ormavex-coefgen --convergence-study [--reference M] [--threads N]\n"
    "      compare the delivered meshes with finer ones (slow: minutes)\n"
    "NU defaults to 1/6, M (elements across the shorter span) to the delivered 48 (72 for FREE\n"
    "below L = 0.75), N to one thread per core.\n";

class UsageError : public std::exception {
public:
    explicit UsageError(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// "--name value" pairs and "--flag"s; every option may appear once.
std::map<std::string, std::string> parseOptions(int argc, char** argv) {
    static const std::map<std::string, bool> kTakesValue = {
        {"--family", true},  {"--lambda", true},     {"--points", true},
        {"--nu", true},      {"--resolution", true}, {"--write-tables", true},
        {"--threads", true}, {"--reference", true},  {"--convergence-study", false},
        {"--help", false}};
    std::map<std::string, std::string> options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const auto known = kTakesValue.find(name);
        if (known == kTakesValue.end())
            throw UsageError("unknown option " + name);
        if (options.count(name) != 0)
            throw UsageError("option given twice: " + name);
        if (known->second) {
            if (i + 1 >= argc)
                throw UsageError("missing value after " + name);
            options[name] = argv[++i];
        } else {
            options[name] = "";
        }
    }
    return options;
}

double numberOption(const std::map<std::string, std::string>& options, const std::string& name,
                    double fallback) {
    const auto it = options.find(name);
    if (it == options.end())
        return fallback;
    char* end = nullptr;
    const double value = std::strtod(it->second.c_str(), &end);
    if (it->second.empty() || *end != '\0')
        throw UsageError(name + " needs a number");
    return value;
}

int wholeOption(const std::map<std::string, std::string>& options, const std::string& name,
                int fallback) {
    const double value = numberOption(options, name, fallback);
    if (value != static_cast<int>(value))
        throw UsageError(name + " needs a whole number");
    return static_cast<int>(value);
}

void printBlock(Family family, const CoefBlock& block, double nu, int resolution) {
    const bool fix = family == Family::Fix;
    std::printf("%s plate, %d points per row: edges x = 0 and y = +-Ly/2 clamped, x = Lx %s\n",
                fix ? "FIX" : "FREE", block.points, fix ? "clamped" : "free");
    std::printf("lambda = Lx/Ly = %.4g, nu = %.4g, mesh %d elements across the shorter span\n",
                block.lambda, nu, resolution);
    std::printf("moment = coefficient x q x L^2, L = %s (the shorter span), sagging positive\n\n",
                block.lambda > 1.0 ? "Ly" : "Lx");
    const char* titles[kTableCount] = {"Mx, uniform load q", "My, uniform load q",
                                       fix ? "Mx, varying load q x/Lx (0 at point 1)"
                                           : "Mx, varying load q (1 - x/Lx) (0 at point n)",
                                       fix ? "My, varying load q x/Lx (0 at point 1)"
                                           : "My, varying load q (1 - x/Lx) (0 at point n)"};
    const char* rowNames[kRowCount] = {"I   y = 0   ", "II  y = Ly/4", "III y = Ly/2"};
    for (int t = 0; t < kTableCount; ++t) {
        std::printf("%s\n%12s", titles[t], "point");
        for (int k = 1; k <= block.points; ++k)
            std::printf(" %12d", k);
        std::printf("\n");
        for (int r = 0; r < kRowCount; ++r) {
            std::printf("%s", rowNames[r]);
            for (int k = 0; k < block.points; ++k) {
                std::printf(" %s", formatCoefficient(block.table[t][r][k]).c_str());
            }
            std::printf("\n");
        }
        std::printf("\n");
    }
}

int run(int argc, char** argv) {
    const auto options = parseOptions(argc, argv);
    const unsigned threads = static_cast<unsigned>(wholeOption(options, "--threads", 0));
    if (options.count("--help") != 0 || argc == 1) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (const auto dir = options.find("--write-tables"); dir != options.end()) {
        const auto start = std::chrono::steady_clock::now();
        const auto tables = computeAllTables(kConcretePoisson, threads);
        writeAllFiles(dir->second, tables, sideRatios());
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        std::printf("wrote 5 table files and %s to %s in %.1f s\n",
                    sideRatioListName().string().c_str(), dir->second.c_str(), seconds.count());
        return 0;
    }
    if (options.count("--convergence-study") != 0) {
        const int reference = wholeOption(options, "--reference", 192);
        if (reference < 2 || reference % 2 != 0)
            throw UsageError("--reference needs an even number");
        const std::vector<double> lambdas = {0.30, 0.40, 0.50, 0.70, 0.75,
                                             1.00, 1.50, 2.00, 3.00, 4.00};
        std::printf("family lambda  |delivered-ref|  |ref-ref/2|  estimated error (ref = %d)\n",
                    reference);
        for (const ConvergenceRow& row :
             convergenceStudy(lambdas, kConcretePoisson, reference, threads)) {
            std::printf("%-6s %6.2f  %14.2e  %11.2e  %15.2e\n",
                        row.family == Family::Fix ? "FIX" : "FREE", row.lambda,
                        row.deliveredVsReference, row.referenceVsHalf, row.estimatedError);
        }
        return 0;
    }
    if (options.count("--family") == 0 || options.count("--lambda") == 0) {
        throw UsageError("give --family and --lambda, --write-tables or --convergence-study");
    }
    const std::string familyName = options.at("--family");
    if (familyName != "FIX" && familyName != "FREE")
        throw UsageError("--family is FIX or FREE");
    const Family family = familyName == "FIX" ? Family::Fix : Family::Free;
    const double lambda = numberOption(options, "--lambda", 0.0);
    if (!(lambda >= 0.05 && lambda <= 20.0))
        throw UsageError("--lambda must lie in 0.05 .. 20");
    const int points = wholeOption(options, "--points", 9);
    if (points != 5 && points != 7 && points != 9)
        throw UsageError("--points is 9, 7 or 5");
    const double nu = numberOption(options, "--nu", kConcretePoisson);
    if (!(nu >= 0.0 && nu < 0.5))
        throw UsageError("--nu must lie in 0 .. 0.5");
    const int resolution =
        wholeOption(options, "--resolution", deliveredResolution(family, lambda));
    if (resolution < 4 || resolution > 400)
        throw UsageError("--resolution must lie in 4 .. 400");
    printBlock(family,
               extractBlock(plateCoefficients(family, lambda, nu, resolution), lambda, points), nu,
               resolution);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "ormavex-coefgen: %s\n%s", e.what(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ormavex-coefgen: %s\n", e.what());
        return 1;
    }
}
