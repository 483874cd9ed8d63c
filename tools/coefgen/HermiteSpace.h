// One-dimensional piecewise cubic Hermite functions, the factors of the tensor-product plate
// element.
#pragma once

#include <vector>

namespace ormavex::coefgen {

// What an end of the interval imposes on the functions of the space.
enum class EndCondition {
    Free,     // nothing
    Clamped,  // value and slope are zero
    Symmetric // slope is zero (mirror line of an even solution)
};

// One nonzero position of the banded Gram matrices, with the five integrals the plate needs:
// m0 = int(f_r f_c), m1 = int(f_r' f_c'), m2 = int(f_r'' f_c''), m02 = int(f_r f_c''),
// m20 = int(f_r'' f_c).
struct GramEntry {
    int row;
    int col;
    double m0;
    double m1;
    double m2;
    double m02;
    double m20;
};

// Node positions on [0, length]: `elements` equal elements, except that the last `graded` of them
// are replaced by elements whose length shrinks towards the end like a power `beta` of the
// distance from it (x = length - zone (1 - j/m)^beta, zone = graded * length / elements, m about
// beta * graded so that the first graded element is as long as the uniform ones). A singularity at
// the end is then resolved without refining the rest of the interval. graded = 0 gives the uniform
// nodes. Requires length > 0, elements >= 1, 0 <= graded <= elements and beta >= 1.
std::vector<double> gradedNodes(double length, int elements, int graded, double beta);

// The C1 piecewise cubic functions over the elements between consecutive nodes. Node i lies at
// node(i) and carries two degrees of freedom, the value (2i) and the slope (2i + 1) in physical
// units. The end conditions remove the constrained ones; the remaining "free" degrees of freedom
// are numbered 0 .. size() - 1 in the order of the full numbering.
class HermiteSpace {
public:
    // Equal elements. Requires length > 0 and elements >= 1.
    HermiteSpace(double length, int elements, EndCondition start, EndCondition end);
    // Nodes from 0 to the length, strictly increasing; requires at least two.
    HermiteSpace(std::vector<double> nodes, EndCondition start, EndCondition end);

    int elements() const noexcept { return static_cast<int>(nodes_.size()) - 1; }
    double length() const noexcept { return nodes_.back(); }
    double node(int i) const { return nodes_[i]; }
    const std::vector<double>& nodes() const noexcept { return nodes_; }
    int size() const noexcept { return static_cast<int>(freeToFull_.size()); }
    int fullSize() const noexcept { return 2 * static_cast<int>(nodes_.size()); }

    // Full index of a free degree of freedom.
    int fullIndex(int freeIndex) const { return freeToFull_[freeIndex]; }

    // Free index of a full degree of freedom, or -1 when the end conditions fix it to zero.
    int freeIndex(int fullIndex) const { return fullToFree_[fullIndex]; }

    // The nonzero entries of the Gram matrices over the free degrees of freedom, sorted by row,
    // then column; both triangles are present.
    const std::vector<GramEntry>& gram() const noexcept { return gram_; }

    // int(q f_r) over the interval for the load q varying linearly from `atStart` to `atEnd`,
    // one entry per free degree of freedom.
    std::vector<double> load(double atStart, double atEnd) const;

private:
    std::vector<double> nodes_;
    std::vector<int> freeToFull_;
    std::vector<int> fullToFree_;
    std::vector<GramEntry> gram_;
};

} // namespace ormavex::coefgen
