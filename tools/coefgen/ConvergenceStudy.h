// Mesh convergence of the delivered coefficients, the basis of the error statement in README.md.
#pragma once

#include "PlateSolver.h"

#include <vector>

namespace ormavex::coefgen {

// Largest differences over the result points of the 9-, 7- and 5-point tables (stations that are
// multiples of 3 or 4), all four tables, excluding the coefficients fixed to exact zeros.
struct ConvergenceRow {
    Family family;
    double lambda;
    double deliveredVsReference; // |delivered mesh - reference mesh|
    double referenceVsHalf;      // |reference mesh - mesh of half its resolution|
    double estimatedError;       // deliveredVsReference + referenceVsHalf / (2^1.5 - 1)
};

// Compares the delivered resolution with the reference resolution (and half of it) for the given
// side ratios of both families, on `threads` worker threads (0: all cores).
// The reference's own error is bounded assuming convergence of at least order 1.5 between the two
// finest meshes, which holds with margin in every measured case (about h^1.6 next to the
// clamped-free corner, h^3 to h^4 elsewhere).
std::vector<ConvergenceRow> convergenceStudy(const std::vector<double>& lambdas, double nu,
                                             int referenceResolution, unsigned threads);

} // namespace ormavex::coefgen
