// Moment coefficients of the five table types, computed from the plate solutions.
#pragma once

#include "PlateSolver.h"

#include <array>
#include <string_view>
#include <vector>

namespace ormavex::coefgen {

// Poisson's ratio of the delivered tables (reinforced concrete).
inline constexpr double kConcretePoisson = 1.0 / 6.0;

// The four tables of a block, in file order.
enum class Table { MxUniform = 0, MyUniform = 1, MxTriangle = 2, MyTriangle = 3 };
inline constexpr int kTableCount = 4;
inline constexpr int kRowCount = 3;
inline constexpr int kMaxPoints = 9;

// One table type: its file, its section in the side-ratio list, its supports and its points per
// row.
struct TableType {
    std::string_view fileName;
    std::string_view section;
    Family family;
    int points;
};

// The five types in the order of their type numbers 1..5.
inline constexpr std::array<TableType, 5> kTableTypes = {{
    {"FREE_84.DAT", "FREE_8*4", Family::Free, 9},
    {"FREE_64.DAT", "FREE_6*4", Family::Free, 7},
    {"FIX_84.DAT", "FIX_8*4", Family::Fix, 9},
    {"FIX_64.DAT", "FIX_6*4", Family::Fix, 7},
    {"FIX_44.DAT", "FIX_4*4", Family::Fix, 5},
}};

// Tabulated side ratios Lx/Ly: 0.30, 0.35, ..., 4.00 (75 values), each the double nearest to the
// decimal text.
std::vector<double> sideRatios();

// Mesh resolution: elements across the shorter span. The delivered tables use 48, and 72 for the
// plates with a free edge below lambda = 0.75, where the clamped-free corner lies closest to the
// result points (see README.md).
int deliveredResolution(Family family, double lambda) noexcept;

// The mesh of a plate with side ratio lambda whose elements are no longer than the shorter span
// divided by `resolution`, rounded up to the multiples that make every result point a node.
// Requires lambda > 0 and resolution >= 1.
PlateMesh meshFor(double lambda, int resolution);

// The mesh of a plate of the family: meshFor(lambda, resolution), graded towards the clamped-free
// corner for Family::Free.
PlateMesh meshFor(Family family, double lambda, int resolution);

// Coefficients (moment / (q L^2), L the shorter span) of one plate at the 25 stations of
// StationCurvatures: value[table][row][station]. Exact zeros are delivered where the theory puts
// them: at the corners of the result grid (row 3, stations 0 and 24) in every table, and Mx along a
// free edge. Elsewhere the values are those of the mesh.
struct StationCoefficients {
    std::array<std::array<std::array<double, StationCurvatures::kStations>, kRowCount>, kTableCount>
        value{};
};
// `cache` as at solvePlate.
StationCoefficients plateCoefficients(Family family, double lambda, double nu, int resolution,
                                      PlateFactorCache* cache = nullptr);

// One block of a table file: side ratio and the four tables at points 1..points of rows 1..3
// (table[t][row][point], zero-based; points beyond `points` are zero).
struct CoefBlock {
    double lambda = 0.0;
    int points = 9;
    std::array<std::array<std::array<double, kMaxPoints>, kRowCount>, kTableCount> table{};
};

// Samples the stations at the result points of an n-point table: point k at station
// (k - 1) * 24 / (n - 1). Requires points to be 5, 7 or 9.
CoefBlock extractBlock(const StationCoefficients& coefficients, double lambda, int points);

// All blocks of the five files, in the order of kTableTypes and of sideRatios(), computed on
// `threads` worker threads (0: as many as the machine has). `resolutionOverride` > 0 replaces the
// delivered resolution of both families (coarse meshes for tests). Plates of the same family are
// solved once and shared by the tables of that family.
std::array<std::vector<CoefBlock>, 5> computeAllTables(double nu, unsigned threads,
                                                       int resolutionOverride = 0);

} // namespace ormavex::coefgen
