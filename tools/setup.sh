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
#   tools/setup.sh windows  install MinGW-w64 and Wine, cross-build the core,
#                           ormavex-batch and the core's tests for Windows
#                           into build-windows/, run the tests under Wine,
#                           compare ormavex-batch.exe's output with the Linux
#                           program's byte for byte, and make the ZIP package
#                           build-windows/packages/ormavex-<version>-windows-x64.zip
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

WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 ccache)

windows() {  # the Windows stage: cross build, tests under Wine, comparisons, ZIP
    local start=$SECONDS t dir=build-windows
    local linux_packages=("${PACKAGES[@]}")
    PACKAGES=("${WINDOWS_PACKAGES[@]}")
    install_packages
    PACKAGES=("${linux_packages[@]}")
    echo "== windows: packages ready ($((SECONDS - start)) s)"

    # The Linux program the Windows one is compared with.
    t=$SECONDS
    if [ ! -f build/build.ninja ]; then
        cmake -S . -B build -G Ninja -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
              -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    cmake --build build --target ormavex-batch ormavex_data
    echo "== windows: Linux ormavex-batch built ($((SECONDS - t)) s)"

    # Only the core, ormavex-batch (no --pdf: that needs Qt) and the core's
    # tests; GoogleTest is built from Debian's sources once, in the same folder.
    t=$SECONDS
    # (CMakePresets.json, preset windows-cross: build-windows/)
    [ -f "$dir/build.ninja" ] || cmake --preset windows-cross >/dev/null
    cmake --build --preset windows-cross
    echo "== windows: cross build done ($((SECONDS - t)) s)"

    # Wine's own prefix, made once and quietly (its first start takes a while).
    t=$SECONDS
    # No Mono or Gecko: nothing here needs them, and Wine would offer to
    # download them on the first start.
    export WINEPREFIX=$PWD/$dir/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
    echo "== windows: Wine prefix ready ($((SECONDS - t)) s)"

    t=$SECONDS
    ctest --preset windows-cross
    echo "== windows: core tests under Wine ($((SECONDS - t)) s)"

    # The same bytes from both programs: the moments on stdout and the
    # project written back.
    t=$SECONDS
    local cmp=$dir/compare sample=examples/caisson-A.kvt
    rm -rf "$cmp" && mkdir -p "$cmp"
    build/bin/ormavex-batch --moments "$sample" >"$cmp/linux-moments.csv"
    wine "$dir/bin/ormavex-batch.exe" --moments "$sample" >"$cmp/windows-moments.csv"
    build/bin/ormavex-batch --write "$cmp/linux.kvt" "$sample"
    wine "$dir/bin/ormavex-batch.exe" --write "$cmp/windows.kvt" "$sample"
    # Again under Japanese folder and file names: the names reach the program
    # and the system whole, whatever Wine's ANSI code page.
    mkdir -p "$cmp/検討"
    cp "$sample" "$cmp/検討/ケーソンA.kvt"
    wine "$dir/bin/ormavex-batch.exe" --moments "$cmp/検討/ケーソンA.kvt" >"$cmp/windows-moments-ja.csv"
    wine "$dir/bin/ormavex-batch.exe" --write "$cmp/検討/保存.kvt" "$cmp/検討/ケーソンA.kvt"
    cmp "$cmp/linux-moments.csv" "$cmp/windows-moments.csv"
    cmp "$cmp/linux.kvt" "$cmp/windows.kvt"
    cmp "$cmp/linux-moments.csv" "$cmp/windows-moments-ja.csv"
    cmp "$cmp/linux.kvt" "$cmp/検討/保存.kvt"
    echo "== windows: --moments ($(wc -c <"$cmp/linux-moments.csv") bytes) and --write" \
         "($(wc -c <"$cmp/linux.kvt") bytes), also under Japanese names, byte-identical to Linux ($((SECONDS - t)) s)"

    # The batch program with its data files, as a ZIP to unpack anywhere.
    t=$SECONDS
    rm -f "$dir"/packages/ormavex-*.zip
    (cd "$dir" && cpack -G ZIP >/dev/null)
    local zip contents
    zip=$(ls "$dir"/packages/ormavex-*-windows-x64.zip)
    contents=$(cmake -E tar tf "$zip")
    for f in ormavex-batch.exe Kivet.fmt LINE_PRN.DEF FIX_44.DAT 計算数表.ini; do
        grep -q "/$f\$" <<<"$contents" || { echo "== $zip lacks $f" >&2; exit 1; }
    done
    if grep -E '_tests|gtest|\.a$' <<<"$contents"; then
        echo "== $zip holds test files" >&2
        exit 1
    fi
    echo "== windows: package $zip ($(wc -l <<<"$contents") files, $((SECONDS - t)) s)"
    echo "== windows: stage done in $((SECONDS - start)) s"
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
    # Without precompiled headers: a source that lacks an include fails here.
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DORMAVEX_SANITIZE=ON -DORMAVEX_BUILD_BENCH=OFF \
          -DORMAVEX_PCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    package build
    ;;
package)
    install_packages
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    package build
    ;;
windows)
    install_packages
    windows
    ;;
*)
    echo "usage: tools/setup.sh sample|test|package|windows" >&2
    exit 1
    ;;
esac
