// Finite-element solution of the rectangular Kirchhoff plate behind the coefficient tables.
#pragma once

#include <array>
#include <memory>

namespace ormavex::coefgen {

// Support families of the tables. Both clamp the edges y = +-Ly/2 and x = 0; the edge x = Lx is
// free (Free, the FREE_* files) or clamped (Fix, the FIX_* files).
enum class Family { Free, Fix };

// Element counts of one mesh. The plate is symmetric about its centre line y = 0, so only the half
// 0 <= y <= Ly/2 is discretised. alongX must be a multiple of 24 (every result point of the 9-, 7-
// and 5-point tables is a node) and alongHalfY a multiple of 2 (the quarter line is a node).
// The last gradedX elements before x = Lx and the last gradedHalfY elements before y = Ly/2 are
// replaced by elements graded towards that edge with the power `grading` (see gradedNodes), which
// resolves the corner where the free edge meets the clamped one. gradedX <= alongX / 24 and
// gradedHalfY <= alongHalfY / 2 keep the result points nodes.
struct PlateMesh {
    int alongX = 24;
    int alongHalfY = 2;
    int gradedX = 0;
    int gradedHalfY = 0;
    double grading = 1.0;

    bool operator==(const PlateMesh&) const = default;
};

// Curvatures of one load case at the result stations: row 0 on the centre line y = 0, row 1 on the
// quarter line y = Ly/4, row 2 on the edge y = Ly/2; station k at x = k Lx / 24 for k = 0..24.
struct StationCurvatures {
    static constexpr int kRows = 3;
    static constexpr int kStations = 25;
    std::array<std::array<double, kStations>, kRows> wxx{};
    std::array<std::array<double, kStations>, kRows> wyy{};
};

// Result of one plate for flexural rigidity D = 1 under the two loads of the tables: the uniform
// load q = 1 and the linearly varying load (q = x/Lx for Fix, q = 1 - x/Lx for Free).
struct PlateSolution {
    StationCurvatures uniform;
    StationCurvatures triangle;
    // Sums of the support reactions of the discrete solution: vertical force, and its moment about
    // the edge x = 0 (force times x plus the reaction couples about that edge), for each load.
    // Both balance the applied load when the system is assembled and solved correctly.
    std::array<double, 2> reactionForce{};
    std::array<double, 2> reactionMomentAboutX0{};
};

// What solvePlate can carry from one plate to the next: the symbolic analysis of the stiffness
// matrix (fill-reducing ordering, elimination tree), whose pattern depends only on the family and
// the mesh's element counts. Plates of a family with equal counts, solved one after the other with
// the same cache, factorise numerically only. Not shared between threads.
class PlateFactorCache {
public:
    PlateFactorCache();
    ~PlateFactorCache();
    PlateFactorCache(const PlateFactorCache&) = delete;
    PlateFactorCache& operator=(const PlateFactorCache&) = delete;

    struct State;
    State& state() noexcept { return *state_; }

private:
    std::unique_ptr<State> state_;
};

// Solves the plate Lx by Ly (Lx = lx, Ly = ly) with Poisson's ratio nu on the given mesh with
// conforming bicubic Hermite (Bogner-Fox-Schmit) elements and one sparse Cholesky factorisation for
// both loads. Curvatures at the stations come from the nodal values and slopes of the solution
// along the mesh line through the station (local quintic Hermite fit over three nodes), which is
// accurate to O(h^4) where the solution is smooth.
// Requires lx > 0, ly > 0, 0 <= nu < 0.5, and a mesh as described at PlateMesh.
// Throws std::runtime_error when the factorisation fails. `cache`, when given, keeps the symbolic
// analysis for the next plate.
PlateSolution solvePlate(Family family, double lx, double ly, double nu, const PlateMesh& mesh,
                         PlateFactorCache* cache = nullptr);

} // namespace ormavex::coefgen
