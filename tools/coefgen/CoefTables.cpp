#include "CoefTables.h"

#include "ParallelFor.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace ormavex::coefgen {

namespace {

constexpr int kLastStation = StationCurvatures::kStations - 1;

// Plate dimensions scaled so that the shorter span is 1: then q = 1 makes the moment equal to its
// coefficient. Lx is the reference span when both are equal.
struct Spans {
    double lx;
    double ly;
};

Spans spansFor(double lambda) {
    return lambda >= 1.0 ? Spans{lambda, 1.0} : Spans{1.0, 1.0 / lambda};
}

// Rounds up to a positive multiple of `step`.
int roundUpTo(double count, int step) {
    const int n = static_cast<int>(std::ceil(count / step - 1e-9));
    return step * std::max(1, n);
}

} // namespace

std::vector<double> sideRatios() {
    std::vector<double> result;
    for (int hundredths = 30; hundredths <= 400; hundredths += 5)
        result.push_back(hundredths / 100.0);
    return result;
}

int deliveredResolution(Family family, double lambda) noexcept {
    return family == Family::Free && lambda < 0.75 - 1e-9 ? 72 : 48;
}

PlateMesh meshFor(double lambda, int resolution) {
    assert(lambda > 0.0 && resolution >= 1);
    const Spans s = spansFor(lambda);
    return PlateMesh{roundUpTo(s.lx * resolution, 24), roundUpTo(0.5 * s.ly * resolution, 2)};
}

PlateMesh meshFor(Family family, double lambda, int resolution) {
    PlateMesh mesh = meshFor(lambda, resolution);
    if (family == Family::Free) {
        // A square of side L/24 at the clamped-free corner (at least one element) is graded with
        // the power 1.5: the corner's moments vary like r^0.1, and on equal elements their error
        // spreads over the whole plate. Stronger grading makes elements so thin that the rounding
        // errors of the solve become visible in the coefficients.
        const int graded = std::max(1, static_cast<int>(std::lround(resolution / 24.0)));
        mesh.gradedX = std::min(graded, mesh.alongX / 24);
        mesh.gradedHalfY = std::min(graded, mesh.alongHalfY / 2);
        mesh.grading = 1.5;
    }
    return mesh;
}

StationCoefficients plateCoefficients(Family family, double lambda, double nu, int resolution,
                                      PlateFactorCache* cache) {
    const Spans s = spansFor(lambda);
    const PlateSolution solution =
        solvePlate(family, s.lx, s.ly, nu, meshFor(family, lambda, resolution), cache);

    StationCoefficients out;
    for (int load = 0; load < 2; ++load) {
        const StationCurvatures& c = load == 0 ? solution.uniform : solution.triangle;
        auto& mx = out.value[load == 0 ? 0 : 2];
        auto& my = out.value[load == 0 ? 1 : 3];
        for (int r = 0; r < kRowCount; ++r) {
            for (int st = 0; st <= kLastStation; ++st) {
                const double wxx = c.wxx[r][st];
                const double wyy = c.wyy[r][st];
                mx[r][st] = -(wxx + nu * wyy);
                my[r][st] = -(wyy + nu * wxx);
            }
            if (family == Family::Free) {
                // Along the free edge Mx = 0, i.e. w,xx = -nu w,yy, so My = -(1 - nu^2) w,yy.
                // The element solution meets this boundary condition only in the limit; the
                // tables carry the exact zero and the My consistent with it.
                mx[r][kLastStation] = 0.0;
                my[r][kLastStation] = -(1.0 - nu * nu) * c.wyy[r][kLastStation];
            }
        }
    }
    // Corners of the result grid. Where two clamped edges meet every curvature vanishes. Where the
    // clamped edge y = Ly/2 meets the free edge, w,xx = 0 along the clamped edge and Mx = 0 along
    // the free one, so both moments are 0 in the limit; they approach it only like r^0.1, and a
    // mesh value there is an artefact that does not converge.
    for (auto& table : out.value) {
        table[kRowCount - 1][0] = 0.0;
        table[kRowCount - 1][kLastStation] = 0.0;
    }
    for (auto& table : out.value) {
        for (auto& row : table) {
            for (double& v : row) {
                if (v == 0.0)
                    v = 0.0; // no negative zeros in the files
            }
        }
    }
    return out;
}

CoefBlock extractBlock(const StationCoefficients& coefficients, double lambda, int points) {
    assert(points == 5 || points == 7 || points == 9);
    CoefBlock block;
    block.lambda = lambda;
    block.points = points;
    const int stride = kLastStation / (points - 1);
    for (int t = 0; t < kTableCount; ++t) {
        for (int r = 0; r < kRowCount; ++r) {
            for (int k = 0; k < points; ++k)
                block.table[t][r][k] = coefficients.value[t][r][k * stride];
        }
    }
    return block;
}

std::array<std::vector<CoefBlock>, 5> computeAllTables(double nu, unsigned threads,
                                                       int resolutionOverride) {
    const std::vector<double> ratios = sideRatios();
    struct Task {
        Family family;
        std::size_t ratioIndex;
        int resolution;
        PlateMesh mesh;
        StationCoefficients result;
    };
    std::vector<Task> tasks;
    for (Family family : {Family::Free, Family::Fix}) {
        for (std::size_t i = 0; i < ratios.size(); ++i) {
            const int resolution = resolutionOverride > 0 ? resolutionOverride
                                                          : deliveredResolution(family, ratios[i]);
            tasks.push_back({family, i, resolution, meshFor(family, ratios[i], resolution), {}});
        }
    }
    // Plates of a family with the same mesh form one job, solved in turn with one symbolic
    // analysis (the ratios next to each other above 1, where only Lx grows).
    struct Job {
        std::vector<std::size_t> tasks;
        double cost = 0.0;
    };
    std::vector<Job> jobs;
    for (std::size_t t = 0; t < tasks.size(); ++t) {
        if (jobs.empty() || tasks[jobs.back().tasks.front()].family != tasks[t].family ||
            !(tasks[jobs.back().tasks.front()].mesh == tasks[t].mesh)) {
            jobs.emplace_back();
        }
        // Sparse Cholesky work grows about like the number of unknowns to the power 1.5.
        const double unknowns = static_cast<double>(tasks[t].mesh.alongX) *
                                static_cast<double>(tasks[t].mesh.alongHalfY);
        jobs.back().tasks.push_back(t);
        jobs.back().cost += unknowns * std::sqrt(unknowns);
    }
    // Largest jobs first, so that the workers finish together.
    std::sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.cost > b.cost; });

    parallelFor(jobs.size(), threads, [&](std::size_t n) {
        PlateFactorCache cache;
        for (std::size_t t : jobs[n].tasks) {
            Task& task = tasks[t];
            task.result = plateCoefficients(task.family, ratios[task.ratioIndex], nu,
                                            task.resolution, &cache);
        }
    });

    std::array<std::vector<CoefBlock>, 5> files;
    for (std::size_t type = 0; type < kTableTypes.size(); ++type) {
        for (const Task& task : tasks) {
            if (task.family != kTableTypes[type].family)
                continue;
            files[type].push_back(
                extractBlock(task.result, ratios[task.ratioIndex], kTableTypes[type].points));
        }
    }
    return files;
}

} // namespace ormavex::coefgen
