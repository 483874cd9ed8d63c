#!/usr/bin/env bash
# Set-up, build and run for a fresh Debian 12 machine (run as root, or with
# sudo available). Idempotent: packages are installed only when missing, and
# the build folders are reused.
#
#   tools/setup.sh sample   install, build the programs (no tests), and produce the
#                           sample project's results
#   tools/setup.sh test     install, check the layout of the sources against
#                           .clang-format, build with warnings as errors, and
#                           run every test, also under
#                           AddressSanitizer + UndefinedBehaviorSanitizer;
#                           then build and check the Debian package
#   tools/setup.sh package  install, build, and build and check the Debian
#                           package build/packages/ormavex_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake g++ ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          libeigen3-dev fonts-ipafont-gothic poppler-utils xvfb
          qt6-translations-l10n dpkg-dev file lintian desktop-file-utils appstream shared-mime-info
          clang-format openbox xdotool x11-utils)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "== installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}

build() {  # build DIR [cmake options...] [-- TARGET...]  (no target: everything)
    local dir=$1
    shift
    local options=() targets=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
    [ $# -gt 0 ] && shift && targets=(--target "$@")
    if [ ! -f "$dir/build.ninja" ]; then
        # ccache, when the machine has it, makes rebuilds in fresh clones cheap.
        local launcher=()
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "${options[@]}"
    fi
    cmake --build "$dir" "${targets[@]}"
}

check_format() {  # every C++ source as .clang-format lays it out
    local files
    files=$(git ls-files '*.h' '*.cpp' 2>/dev/null || find src tests bench fuzz tools -name '*.h' -o -name '*.cpp')
    # shellcheck disable=SC2086
    clang-format --dry-run --Werror $files
    echo "== format: $(wc -w <<<"$files") files as .clang-format lays them out"
}

run_tests() {  # run_tests DIR
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j2
}

package() {  # package DIR: the Debian package of a built folder, checked
    local dir=$1 deb contents f
    rm -f "$dir"/packages/ormavex_*.deb
    (cd "$dir" && cpack -G DEB >/dev/null)
    deb=$(ls "$dir"/packages/ormavex_*.deb)
    contents=$(dpkg-deb --contents "$deb")
    if grep -E '_tests|test_|bench|gtest|coefgen|\.a$' <<<"$contents"; then
        echo "== $deb holds test, bench or tool files" >&2
        exit 1
    fi
    for f in data/* bin/ormavex-batch lib/ormavex/ormavex-batch lib/ormavex/ormavex-batch-pdf.so \
             bin/ormavex share/applications/com.velmorra.ormavex.desktop share/man/man1/ormavex-batch.1.gz \
             docs/manual/*.html lib/ormavex/manual/images/frmInpJyokenSS.png; do
        case "$f" in
        data/README.md) continue ;;
        data/*) f=lib/ormavex/${f#data/} ;;
        docs/manual/*) f=lib/ormavex/manual/${f#docs/manual/} ;;
        esac
        grep -q " \./usr/$f\( ->.*\)\?\$" <<<"$contents" || { echo "== $deb lacks /usr/$f" >&2; exit 1; }
    done
    if command -v lintian >/dev/null; then
        lintian --fail-on error "$deb"
    fi
    echo "== package: $deb"
}

case "${1:-}" in
sample)
    install_packages
    # The programs and their data only: the tests are built by the first "test".
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -- ormavex_programs
    exec tools/sample.sh build
    ;;
test)
    install_packages
    check_format
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORMAVEX_WERROR=ON
    run_tests build
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DORMAVEX_SANITIZE=ON -DORMAVEX_BUILD_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    package build
    ;;
package)
    install_packages
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    package build
    ;;
*)
    echo "usage: tools/setup.sh sample|test|package" >&2
    exit 1
    ;;
esac
