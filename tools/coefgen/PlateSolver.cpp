#include "PlateSolver.h"

#include "HermiteSpace.h"

#include <Eigen/Dense>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <cassert>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace ormavex::coefgen {

namespace {

// Values and slopes of the solution at the nodes of one mesh line, and the nodes' positions.
struct MeshLine {
    const std::vector<double>* position;
    std::vector<double> value;
    std::vector<double> slope;
};

// Second derivative at node i of the quintic that matches value and slope at three nodes: the
// node and its neighbours inside, one-sided at the ends. `mirrored` marks a line whose start is the
// symmetry line of an even function, so that the fit may be centred at node 0. The first element
// of every line has the uniform step.
double secondDerivative(const MeshLine& line, int i, bool mirrored) {
    const std::vector<double>& t = *line.position;
    const int last = static_cast<int>(line.value.size()) - 1;
    // Fit nodes about one uniform step apart: at a graded end the nodes next to it are much closer,
    // and a fit over them would magnify the rounding errors of the solution.
    const double step = t[1] - t[0];
    auto nearest = [&](double x) {
        int best = 0;
        for (int m = 1; m <= last; ++m) {
            if (std::fabs(t[m] - x) < std::fabs(t[best] - x))
                best = m;
        }
        return best;
    };
    std::array<int, 3> fitNode = {i - 1, i, i + 1};
    if (i == 0 && !mirrored)
        fitNode = {0, 1, 2};
    else if (i == last)
        fitNode = {nearest(t[i] - 2.0 * step), nearest(t[i] - step), i};
    // Local coordinate (x - x_i) / h for conditioning.
    const double h = step;
    Eigen::Matrix<double, 6, 6> a;
    Eigen::Matrix<double, 6, 1> rhs;
    for (int k = 0; k < 3; ++k) {
        const int m = fitNode[k];
        // Mirror image of an even function: same value, opposite slope.
        const double x = m < 0 ? -t[-m] : t[m];
        const double tau = (x - t[i]) / h;
        for (int p = 0; p < 6; ++p) {
            a(k, p) = std::pow(tau, p);
            a(3 + k, p) = p == 0 ? 0.0 : p * std::pow(tau, p - 1);
        }
        rhs(k) = m < 0 ? line.value[-m] : line.value[m];
        rhs(3 + k) = h * (m < 0 ? -line.slope[-m] : line.slope[m]);
    }
    const Eigen::Matrix<double, 6, 1> c = a.fullPivLu().solve(rhs);
    return 2.0 * c(2) / (h * h);
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
    const HermiteSpace xAll(xs.nodes(), EndCondition::Free, EndCondition::Free);
    const HermiteSpace yAll(ys.nodes(), EndCondition::Free, EndCondition::Free);
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
                    moment -= r * xs.node(ix / 2);
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

struct PlateFactorCache::State {
    bool analysed = false;
    Family family = Family::Fix;
    PlateMesh mesh;
    Eigen::SimplicialLLT<Eigen::SparseMatrix<double>, Eigen::Lower> cholesky;
};

PlateFactorCache::PlateFactorCache() : state_(std::make_unique<State>()) {}
PlateFactorCache::~PlateFactorCache() = default;

PlateSolution solvePlate(Family family, double lx, double ly, double nu, const PlateMesh& mesh,
                         PlateFactorCache* cache) {
    assert(lx > 0.0 && ly > 0.0 && nu >= 0.0 && nu < 0.5);
    assert(mesh.alongX % 24 == 0 && mesh.alongX > 0);
    assert(mesh.alongHalfY % 2 == 0 && mesh.alongHalfY > 0);
    assert(mesh.gradedX >= 0 && mesh.gradedX <= mesh.alongX / 24);
    assert(mesh.gradedHalfY >= 0 && mesh.gradedHalfY <= mesh.alongHalfY / 2);

    const EndCondition farEnd = family == Family::Fix ? EndCondition::Clamped : EndCondition::Free;
    const HermiteSpace xs(gradedNodes(lx, mesh.alongX, mesh.gradedX, mesh.grading),
                          EndCondition::Clamped, farEnd);
    const HermiteSpace ys(gradedNodes(0.5 * ly, mesh.alongHalfY, mesh.gradedHalfY, mesh.grading),
                          EndCondition::Symmetric, EndCondition::Clamped);
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

    PlateFactorCache local;
    PlateFactorCache::State& factor = (cache != nullptr ? *cache : local).state();
    auto& cholesky = factor.cholesky;
    if (!factor.analysed || factor.family != family || !(factor.mesh == mesh)) {
        cholesky.analyzePattern(k);
        factor.analysed = true;
        factor.family = family;
        factor.mesh = mesh;
    }
    cholesky.factorize(k);
    if (cholesky.info() != Eigen::Success) {
        throw std::runtime_error("plate stiffness matrix is not positive definite");
    }
    // One step of iterative refinement: the graded elements at a clamped-free corner make the
    // matrix badly conditioned, and the plain solve leaves rounding errors of the order of 1e-6
    // in the moments on the finest meshes.
    Eigen::MatrixXd u = cholesky.solve(rhs);
    u += cholesky.solve(rhs - k.selfadjointView<Eigen::Lower>() * u);

    PlateSolution result;
    supportReactions(family, xs, ys, number, u, nu, result);
    const int nodesX = xs.elements() + 1;
    const int nodesY = ys.elements() + 1;
    const std::array<int, 3> rowNode = {0, mesh.alongHalfY / 2, nodesY - 1};
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
            MeshLine alongX{&xs.nodes(), std::vector<double>(nodesX), std::vector<double>(nodesX)};
            for (int m = 0; m < nodesX; ++m) {
                alongX.value[m] = dof(2 * m, 2 * j);
                alongX.slope[m] = dof(2 * m + 1, 2 * j);
            }
            for (int st = 0; st < StationCurvatures::kStations; ++st) {
                const int i =
                    st == StationCurvatures::kStations - 1 ? nodesX - 1 : st * (mesh.alongX / 24);
                out.wxx[r][st] = secondDerivative(alongX, i, false);
                MeshLine alongY{&ys.nodes(), std::vector<double>(nodesY),
                                std::vector<double>(nodesY)};
                for (int m = 0; m < nodesY; ++m) {
                    alongY.value[m] = dof(2 * i, 2 * m);
                    alongY.slope[m] = dof(2 * i, 2 * m + 1);
                }
                out.wyy[r][st] = secondDerivative(alongY, j, true);
            }
        }
    }
    return result;
}

} // namespace ormavex::coefgen
