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

// The C1 piecewise cubic functions on [0, length] over `elements` equal elements. Node i lies at
// i * step() and carries two degrees of freedom, the value (2i) and the slope (2i + 1) in physical
// units. The end conditions remove the constrained ones; the remaining "free" degrees of freedom
// are numbered 0 .. size() - 1 in the order of the full numbering.
class HermiteSpace {
public:
    // Requires length > 0 and elements >= 1.
    HermiteSpace(double length, int elements, EndCondition start, EndCondition end);

    int elements() const noexcept { return elements_; }
    double length() const noexcept { return length_; }
    double step() const noexcept { return length_ / elements_; }
    int size() const noexcept { return static_cast<int>(freeToFull_.size()); }
    int fullSize() const noexcept { return 2 * (elements_ + 1); }

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
    double length_;
    int elements_;
    std::vector<int> freeToFull_;
    std::vector<int> fullToFree_;
    std::vector<GramEntry> gram_;
};

} // namespace ormavex::coefgen
