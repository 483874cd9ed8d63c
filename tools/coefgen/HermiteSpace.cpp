#include "HermiteSpace.h"

#include <array>
#include <cassert>
#include <cmath>
#include <utility>

namespace ormavex::coefgen {

namespace {

// Four-point Gauss rule on [0, 1]: exact up to degree 7, enough for products of two cubics and for
// a linear load times a cubic.
constexpr std::array<double, 4> kGaussPoint = {
    0.5 - 0.5 * 0.8611363115940526, 0.5 - 0.5 * 0.3399810435848563, 0.5 + 0.5 * 0.3399810435848563,
    0.5 + 0.5 * 0.8611363115940526};
constexpr std::array<double, 4> kGaussWeight = {0.5 * 0.3478548451374538, 0.5 * 0.6521451548625461,
                                                0.5 * 0.6521451548625461, 0.5 * 0.3478548451374538};

struct ShapeValues {
    std::array<double, 4> f;
    std::array<double, 4> d1;
    std::array<double, 4> d2;
};

// The four cubic Hermite functions of an element of length h at xi = x / h in [0, 1], in the local
// order value at 0, slope at 0, value at h, slope at h; derivatives with respect to x.
ShapeValues shapeAt(double xi, double h) {
    const double x2 = xi * xi;
    const double x3 = x2 * xi;
    ShapeValues s{};
    s.f = {1.0 - 3.0 * x2 + 2.0 * x3, h * (xi - 2.0 * x2 + x3), 3.0 * x2 - 2.0 * x3, h * (x3 - x2)};
    s.d1 = {(6.0 * x2 - 6.0 * xi) / h, 1.0 - 4.0 * xi + 3.0 * x2, (6.0 * xi - 6.0 * x2) / h,
            3.0 * x2 - 2.0 * xi};
    s.d2 = {(12.0 * xi - 6.0) / (h * h), (6.0 * xi - 4.0) / h, (6.0 - 12.0 * xi) / (h * h),
            (6.0 * xi - 2.0) / h};
    return s;
}

// Position of full column c in the band of full row r: the columns of the nodes next to r's node.
int bandSlot(int r, int c) { return c - 2 * (r / 2 - 1); }

} // namespace

std::vector<double> gradedNodes(double length, int elements, int graded, double beta) {
    assert(length > 0.0 && elements >= 1 && graded >= 0 && graded <= elements && beta >= 1.0);
    const double h = length / elements;
    std::vector<double> nodes;
    for (int i = 0; i <= elements - graded; ++i)
        nodes.push_back(i * h);
    if (graded == 0)
        return nodes;
    const double zone = graded * h;
    const int m = static_cast<int>(std::ceil(beta * graded - 1e-9));
    for (int j = 1; j < m; ++j)
        nodes.push_back(length - zone * std::pow(1.0 - static_cast<double>(j) / m, beta));
    nodes.push_back(length);
    return nodes;
}

HermiteSpace::HermiteSpace(double length, int elements, EndCondition start, EndCondition end)
    : HermiteSpace(gradedNodes(length, elements, 0, 1.0), start, end) {}

HermiteSpace::HermiteSpace(std::vector<double> nodes, EndCondition start, EndCondition end)
    : nodes_(std::move(nodes)) {
    assert(nodes_.size() >= 2);
    const int full = fullSize();
    const int last = full - 2;
    fullToFree_.assign(full, 0);
    auto fix = [&](EndCondition condition, int valueDof) {
        if (condition == EndCondition::Clamped)
            fullToFree_[valueDof] = -1;
        if (condition != EndCondition::Free)
            fullToFree_[valueDof + 1] = -1;
    };
    fix(start, 0);
    fix(end, last);
    for (int i = 0; i < full; ++i) {
        if (fullToFree_[i] == 0) {
            fullToFree_[i] = static_cast<int>(freeToFull_.size());
            freeToFull_.push_back(i);
        }
    }

    // Element integrals, assembled into a band of six columns.
    std::vector<std::array<GramEntry, 6>> band(full);
    for (int el = 0; el < elements(); ++el) {
        const double h = nodes_[el + 1] - nodes_[el];
        std::array<std::array<GramEntry, 4>, 4> local{};
        for (std::size_t g = 0; g < kGaussPoint.size(); ++g) {
            const ShapeValues s = shapeAt(kGaussPoint[g], h);
            const double w = kGaussWeight[g] * h;
            for (int a = 0; a < 4; ++a) {
                for (int b = 0; b < 4; ++b) {
                    GramEntry& e = local[a][b];
                    e.m0 += w * s.f[a] * s.f[b];
                    e.m1 += w * s.d1[a] * s.d1[b];
                    e.m2 += w * s.d2[a] * s.d2[b];
                    e.m02 += w * s.f[a] * s.d2[b];
                    e.m20 += w * s.d2[a] * s.f[b];
                }
            }
        }
        for (int a = 0; a < 4; ++a) {
            for (int b = 0; b < 4; ++b) {
                const int r = 2 * el + a;
                GramEntry& e = band[r][bandSlot(r, 2 * el + b)];
                e.m0 += local[a][b].m0;
                e.m1 += local[a][b].m1;
                e.m2 += local[a][b].m2;
                e.m02 += local[a][b].m02;
                e.m20 += local[a][b].m20;
            }
        }
    }
    for (int r = 0; r < full; ++r) {
        if (fullToFree_[r] < 0)
            continue;
        for (int slot = 0; slot < 6; ++slot) {
            const int c = 2 * (r / 2 - 1) + slot;
            if (c < 0 || c >= full || fullToFree_[c] < 0)
                continue;
            GramEntry e = band[r][slot];
            e.row = fullToFree_[r];
            e.col = fullToFree_[c];
            gram_.push_back(e);
        }
    }
}

std::vector<double> HermiteSpace::load(double atStart, double atEnd) const {
    std::vector<double> full(fullSize(), 0.0);
    for (int el = 0; el < elements(); ++el) {
        const double h = nodes_[el + 1] - nodes_[el];
        for (std::size_t g = 0; g < kGaussPoint.size(); ++g) {
            const ShapeValues s = shapeAt(kGaussPoint[g], h);
            const double x = nodes_[el] + kGaussPoint[g] * h;
            const double q = atStart + (atEnd - atStart) * x / length();
            for (int a = 0; a < 4; ++a)
                full[2 * el + a] += kGaussWeight[g] * h * q * s.f[a];
        }
    }
    std::vector<double> result(freeToFull_.size());
    for (std::size_t i = 0; i < freeToFull_.size(); ++i)
        result[i] = full[freeToFull_[i]];
    return result;
}

} // namespace ormavex::coefgen
