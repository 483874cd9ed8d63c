#include "ConvergenceStudy.h"

#include "CoefTables.h"
#include "ParallelFor.h"

#include <algorithm>
#include <cmath>

namespace ormavex::coefgen {

namespace {

// Largest difference over the stations of the tables, skipping coefficients that are exact zeros
// in both (grid corners, Mx along a free edge).
double largestDifference(const StationCoefficients& a, const StationCoefficients& b) {
    double largest = 0.0;
    for (int t = 0; t < kTableCount; ++t) {
        for (int r = 0; r < kRowCount; ++r) {
            for (int st = 0; st < StationCurvatures::kStations; ++st) {
                if (st % 3 != 0 && st % 4 != 0)
                    continue;
                const double x = a.value[t][r][st];
                const double y = b.value[t][r][st];
                if (x == 0.0 && y == 0.0)
                    continue;
                largest = std::max(largest, std::fabs(x - y));
            }
        }
    }
    return largest;
}

} // namespace

std::vector<ConvergenceRow> convergenceStudy(const std::vector<double>& lambdas, double nu,
                                             int referenceResolution, unsigned threads) {
    struct Job {
        Family family;
        double lambda;
        int resolution;
        StationCoefficients result;
    };
    std::vector<Job> jobs;
    for (Family family : {Family::Free, Family::Fix}) {
        for (double lambda : lambdas) {
            for (int resolution : {referenceResolution, referenceResolution / 2,
                                   deliveredResolution(family, lambda)}) {
                jobs.push_back({family, lambda, resolution, {}});
            }
        }
    }
    parallelFor(jobs.size(), threads, [&](std::size_t i) {
        jobs[i].result = plateCoefficients(jobs[i].family, jobs[i].lambda, nu, jobs[i].resolution);
    });

    const double referenceFactor = 1.0 / (std::pow(2.0, 1.5) - 1.0);
    std::vector<ConvergenceRow> rows;
    for (std::size_t i = 0; i + 2 < jobs.size(); i += 3) {
        ConvergenceRow row{jobs[i].family, jobs[i].lambda, 0.0, 0.0, 0.0};
        row.deliveredVsReference = largestDifference(jobs[i + 2].result, jobs[i].result);
        row.referenceVsHalf = largestDifference(jobs[i].result, jobs[i + 1].result);
        row.estimatedError = row.deliveredVsReference + referenceFactor * row.referenceVsHalf;
        rows.push_back(row);
    }
    return rows;
}

} // namespace ormavex::coefgen
