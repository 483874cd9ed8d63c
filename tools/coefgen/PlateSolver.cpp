#include "PlateSolver.h"

#include "HermiteSpace.h"

#include <Eigen/Dense>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <cassert>
#include <stdexcept>
#include <vector>

namespace ormavex::coefgen {

namespace {

// Weights of the second derivative at node 0 of the quintic that matches value and slope at the
// three nodes at offsets first, first + 1, first + 2 (in steps): w'' = sum(a_k w_k) / h^2 +
// sum(b_k s_k) / h.
struct FitWeights {
    std::array<double, 3> value;
    std::array<double, 3> slope;
};

FitWeights quinticWeights(int first) {
    Eigen::Matrix<double, 6, 6> a = Eigen::Matrix<double, 6, 6>::Zero();
    for (int k = 0; k < 3; ++k) {
        const double t = first + k;
        for (int p = 0; p < 6; ++p) {
            a(k, p) = std::pow(t, p);
            a(3 + k, p) = p == 0 ? 0.0 : p * std::pow(t, p - 1);
        }
    }
    const Eigen::Matrix<double, 6, 6> inverse = a.inverse();
    FitWeights w{};
    for (int k = 0; k < 3; ++k) {
        w.value[k] = 2.0 * inverse(2, k);
        w.slope[k] = 2.0 * inverse(2, 3 + k);
    }
    return w;
}

// Values and slopes of the solution at the nodes of one mesh line.
struct MeshLine {
    std::vector<double> value;
    std::vector<double> slope;
};

// Second derivative at node i of a line with step h. `mirrored` marks a line whose start is the
// symmetry line of an even function, so that the fit may be centred at node 0.
double secondDerivative(const MeshLine& line, int i, double h, bool mirrored) {
    static const FitWeights kForward = quinticWeights(0);
    static const FitWeights kCentral = quinticWeights(-1);
    static const FitWeights kBackward = quinticWeights(-2);
    const int last = static_cast<int>(line.value.size()) - 1;
    const FitWeights* w = &kCentral;
    int first = i - 1;
    if (i == 0 && !mirrored) {
        w = &kForward;
        first = 0;
    } else if (i == last) {
        w = &kBackward;
        first = i - 2;
    }
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        const int m = first + k;
        // Mirror image of an even function: same value, opposite slope.
        const double v = m < 0 ? line.value[-m] : line.value[m];
        const double s = m < 0 ? -line.slope[-m] : line.slope[m];
        sum += w->value[k] * v / (h * h) + w->slope[k] * s / h;
    }
    return sum;
}

// Degrees of freedom of the tensor-product space: free pair (ix, iy) -> one index; the shorter
// direction runs fastest, which keeps the profile of the matrix narrow.
class TensorNumbering {
public:
    TensorNumbering(int sizeX, int sizeY) : sizeX_(sizeX), sizeY_(sizeY), yFast_(sizeY <= sizeX) {}
    int size() const noexcept { return sizeX_ * sizeY_; }
    int operator()(int ix, int iy) const noexcept {
        return yFast_ ? ix * sizeY_ + iy : iy * sizeX_ + ix;
    }

private:
    int sizeX_;
    int sizeY_;
    bool yFast_;
};

// Bilinear form of the plate for one pair of 1-D Gram entries (D = 1).
double plateForm(const GramEntry& x, const GramEntry& y, double nu) {
    return x.m2 * y.m0 + x.m0 * y.m2 + nu * (x.m02 * y.m20 + x.m20 * y.m02) +
           2.0 * (1.0 - nu) * x.m1 * y.m1;
}

// Support reactions R = K u - f at the fixed degrees of freedom, from the stiffness rows that the
// solve never used, summed as the plate's vertical force and its moment about the edge x = 0.
void supportReactions(Family family, const HermiteSpace& xs, const HermiteSpace& ys,
                      const TensorNumbering& number, const Eigen::MatrixXd& u, double nu,
                      PlateSolution& result) {
    const HermiteSpace xAll(xs.length(), xs.elements(), EndCondition::Free, EndCondition::Free);
    const HermiteSpace yAll(ys.length(), ys.elements(), EndCondition::Free, EndCondition::Free);
    const std::vector<double> fy = yAll.load(1.0, 1.0);
    const std::vector<double> fxUniform = xAll.load(1.0, 1.0);
    const std::vector<double> fxTriangle =
        family == Family::Fix ? xAll.load(0.0, 1.0) : xAll.load(1.0, 0.0);
    const int sizeY = yAll.size();
    auto fixedDof = [&](int fullX, int fullY) {
        return xs.freeIndex(fullX) < 0 || ys.freeIndex(fullY) < 0;
    };
    Eigen::MatrixXd reaction = Eigen::MatrixXd::Zero(xAll.size() * sizeY, 2);
    for (const GramEntry& ex : xAll.gram()) {
        const int colX = xs.freeIndex(ex.col);
        for (const GramEntry& ey : yAll.gram()) {
            const int colY = ys.freeIndex(ey.col);
            if (colX < 0 || colY < 0 || !fixedDof(ex.row, ey.row))
                continue;
            const double k = plateForm(ex, ey, nu);
            reaction.row(ex.row * sizeY + ey.row) += k * u.row(number(colX, colY));
        }
    }
    // Virtual displacements w = 1 and w = x: value dofs x_i, x-slope dofs 1, y-slope dofs 0.
    for (int load = 0; load < 2; ++load) {
        const std::vector<double>& fx = load == 0 ? fxUniform : fxTriangle;
        double force = 0.0;
        double moment = 0.0;
        for (int ix = 0; ix < xAll.size(); ++ix) {
            for (int iy = 0; iy < sizeY; iy += 2) {
                if (!fixedDof(ix, iy))
                    continue;
                const double r = reaction(ix * sizeY + iy, load) - fx[ix] * fy[iy];
                if (ix % 2 == 0) {
                    force -= r;
                    moment -= r * (ix / 2) * xs.step();
                } else {
                    moment -= r;
                }
            }
        }
        // Both halves of the plate.
        result.reactionForce[load] = 2.0 * force;
        result.reactionMomentAboutX0[load] = 2.0 * moment;
    }
}

} // namespace

PlateSolution solvePlate(Family family, double lx, double ly, double nu, const PlateMesh& mesh) {
    assert(lx > 0.0 && ly > 0.0 && nu >= 0.0 && nu < 0.5);
    assert(mesh.alongX % 24 == 0 && mesh.alongX > 0);
    assert(mesh.alongHalfY % 2 == 0 && mesh.alongHalfY > 0);

    const EndCondition farEnd = family == Family::Fix ? EndCondition::Clamped : EndCondition::Free;
    const HermiteSpace xs(lx, mesh.alongX, EndCondition::Clamped, farEnd);
    const HermiteSpace ys(0.5 * ly, mesh.alongHalfY, EndCondition::Symmetric,
                          EndCondition::Clamped);
    const TensorNumbering number(xs.size(), ys.size());

    // Lower triangle of the stiffness matrix as the sum of Kronecker products of the 1-D Gram
    // matrices; each row couples with at most 6 x 6 = 36 columns.
    std::vector<Eigen::Triplet<double>> triplets;
    triplets.reserve(static_cast<std::size_t>(xs.gram().size() * ys.gram().size()) / 2 + 16);
    for (const GramEntry& ex : xs.gram()) {
        for (const GramEntry& ey : ys.gram()) {
            const int row = number(ex.row, ey.row);
            const int col = number(ex.col, ey.col);
            if (row >= col)
                triplets.emplace_back(row, col, plateForm(ex, ey, nu));
        }
    }
    Eigen::SparseMatrix<double> k(number.size(), number.size());
    k.setFromTriplets(triplets.begin(), triplets.end());
    triplets.clear();
    triplets.shrink_to_fit();

    // Loads: both separate into a function of x times a constant in y.
    const std::vector<double> fy = ys.load(1.0, 1.0);
    const std::vector<double> fxUniform = xs.load(1.0, 1.0);
    const std::vector<double> fxTriangle =
        family == Family::Fix ? xs.load(0.0, 1.0) : xs.load(1.0, 0.0);
    Eigen::MatrixXd rhs(number.size(), 2);
    for (int ix = 0; ix < xs.size(); ++ix) {
        for (int iy = 0; iy < ys.size(); ++iy) {
            rhs(number(ix, iy), 0) = fxUniform[ix] * fy[iy];
            rhs(number(ix, iy), 1) = fxTriangle[ix] * fy[iy];
        }
    }

    Eigen::SimplicialLLT<Eigen::SparseMatrix<double>, Eigen::Lower> cholesky(k);
    if (cholesky.info() != Eigen::Success) {
        throw std::runtime_error("plate stiffness matrix is not positive definite");
    }
    const Eigen::MatrixXd u = cholesky.solve(rhs);

    PlateSolution result;
    supportReactions(family, xs, ys, number, u, nu, result);
    const int nodesX = mesh.alongX + 1;
    const int nodesY = mesh.alongHalfY + 1;
    const std::array<int, 3> rowNode = {0, mesh.alongHalfY / 2, mesh.alongHalfY};
    for (int load = 0; load < 2; ++load) {
        // Full nodal field, zero at the fixed degrees of freedom.
        auto dof = [&](int fullX, int fullY) {
            const int ix = xs.freeIndex(fullX);
            const int iy = ys.freeIndex(fullY);
            return ix < 0 || iy < 0 ? 0.0 : u(number(ix, iy), load);
        };
        StationCurvatures& out = load == 0 ? result.uniform : result.triangle;
        for (int r = 0; r < StationCurvatures::kRows; ++r) {
            const int j = rowNode[r];
            MeshLine alongX{std::vector<double>(nodesX), std::vector<double>(nodesX)};
            for (int m = 0; m < nodesX; ++m) {
                alongX.value[m] = dof(2 * m, 2 * j);
                alongX.slope[m] = dof(2 * m + 1, 2 * j);
            }
            for (int st = 0; st < StationCurvatures::kStations; ++st) {
                const int i = st * (mesh.alongX / 24);
                out.wxx[r][st] = secondDerivative(alongX, i, xs.step(), false);
                MeshLine alongY{std::vector<double>(nodesY), std::vector<double>(nodesY)};
                for (int m = 0; m < nodesY; ++m) {
                    alongY.value[m] = dof(2 * i, 2 * m);
                    alongY.slope[m] = dof(2 * i, 2 * m + 1);
                }
                out.wyy[r][st] = secondDerivative(alongY, j, ys.step(), true);
            }
        }
    }
    return result;
}

} // namespace ormavex::coefgen
