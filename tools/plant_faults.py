#!/usr/bin/env python3
"""Plants single-point faults in the sources, one at a time, and checks that the
tests catch each of them. A developer's tool: slow, and not part of CI.

    nice -n 19 python3 tools/plant_faults.py [--build-dir DIR] [--full] [--only ID,...]
    python3 tools/plant_faults.py --check      # only checks that every fault still applies

Each fault is a slip a developer could make (an off-by-one, a flipped
comparison, a swapped index, a dropped check) at one place of the code, and
names the test program of its own layer that must catch it. For each fault the
script writes it into the file, rebuilds that test program in a build folder of
its own (default build-mut/, configured as build/ is), runs it, and restores
the file. A fault that test program misses is then tried against the whole
suite (ctest), to tell "caught elsewhere only" from "missed". With --full
every fault runs the whole suite as well.

The file is always restored, also on Ctrl+C, and the script refuses to start
when tracked files have uncommitted changes. A planted fault runs as the user
that runs the script: the tests must never hand a system file to the code they
check (a broken check would replace it), and after every fault the script
makes sure the devices the tests read still are devices, and stops otherwise. A fault whose original text is no
longer found exactly once is reported as stale, not planted.
"""

import argparse
import os
import signal
import subprocess
import sys
import time
from dataclasses import dataclass

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The core's subsystems share one test program.
CORE = REPORT = DRAWING = "ormavex_core_tests"
RENDER = "ormavex_render_tests"


@dataclass
class Fault:
    id: str
    layer: str  # the layer whose tests must catch it
    tests: str  # that layer's test program
    file: str
    original: str
    replacement: str
    slip: str


FAULTS = [
    # ---- project files (core) ---------------------------------------------
    Fault("project-count-99", "core project", CORE, "src/core/project/basIO.cpp",
          "if (count < 0 || count > MaxCases) {", "if (count < 0 || count >= MaxCases) {",
          "off-by-one: the largest count accepted becomes 98"),
    Fault("project-v200-columns", "core project", CORE, "src/core/project/basIO.cpp",
          "kColumns9[] = {1, 2, 3, 5, 6, 7, 8, 9, 10};",
          "kColumns9[] = {1, 2, 3, 5, 6, 8, 7, 9, 10};",
          "swapped index: version 2.00 cells 6 and 7 land in each other's column"),
    Fault("project-number-digits", "core project", CORE, "src/core/project/basIO.cpp",
          'std::snprintf(buf, sizeof buf, "%.15g", v);',
          'std::snprintf(buf, sizeof buf, "%.14g", v);',
          "off-by-one: the writer keeps 14 significant digits"),
    Fault("project-number-small", "core project", CORE, "src/core/project/basIO.cpp",
          "int decimals = exp10 < 0 ? 14 - exp10 : 0;",
          "int decimals = exp10 < 0 ? 13 - exp10 : 0;",
          "off-by-one: a tiny number loses its last digit"),
    Fault("project-infinite-cell", "core project", CORE, "src/core/project/basIO.cpp",
          "if (ParseNumber(f.text, v) && std::isfinite(v)) {\n        return Cell(v);",
          "if (ParseNumber(f.text, v)) {\n        return Cell(v);",
          "dropped check: an overflowing number becomes an infinite cell"),
    Fault("project-count-rounding", "core project", CORE, "src/core/project/basIO.cpp",
          "if (f.quoted || !ParseNumber(f.text, v)) {", "if (!ParseNumber(f.text, v)) {",
          "dropped check: a quoted count is read as a number"),
    # ---- text layer (core) --------------------------------------------------
    Fault("text-second-point", "core text", CORE, "src/core/text/LeadingNumber.cpp",
          "            point = true;\n            ++i;\n            end = i;",
          "            ++i;\n            end = i;",
          "dropped statement: a second decimal point is taken into the number"),
    Fault("text-exponent-plus", "core text", CORE, "src/core/text/LeadingNumber.cpp",
          "if (j < text.size() && (text[j] == '+' || text[j] == '-')) {",
          "if (j < text.size() && text[j] == '-') {",
          "dropped case: an exponent with '+' is not read"),
    Fault("text-exponent-needs-digit", "core text", CORE, "src/core/text/LeadingNumber.cpp",
          "        if (expDigits) {\n            out += exp;",
          "        if (expDigits || exp.size() > 1) {\n            out += exp;",
          "widened check: an exponent of a sign without digits ends the number behind it"),
    Fault("text-int32-low", "core text", CORE, "src/core/text/LeadingNumber.cpp",
          "if (r < -2147483648.0 || r > 2147483647.0) {",
          "if (r <= -2147483648.0 || r > 2147483647.0) {",
          "flipped bound: the smallest 32-bit number is refused"),
    Fault("text-int32-high", "core text", CORE, "src/core/text/LeadingNumber.cpp",
          "if (r < -2147483648.0 || r > 2147483647.0) {",
          "if (r < -2147483648.0 || value > 2147483647.0) {",
          "wrong operand: the range is checked before rounding"),
    Fault("text-cut-exact", "core text", CORE, "src/core/text/ShiftJis.cpp",
          "if (pos + n > bytes) {", "if (pos + n >= bytes) {",
          "off-by-one: a text of exactly the byte limit loses its last character"),
    Fault("text-list-comma-eol", "core text", CORE, "src/core/text/ListInput.cpp",
          "if (m_pos < m_data.size() && IsLineEnd(m_data[m_pos])) {\n            consumeSeparator();",
          "if (false) {\n            consumeSeparator();",
          "dropped case: a comma at a line end makes an extra empty item"),
    # ---- the atomic file replace (core text) ----------------------------------
    Fault("replace-keeps-mode", "core text", CORE, "src/core/text/FileReplace.cpp",
          "platform::SetPermissions(fd, exists ? &st : nullptr);",
          "platform::SetPermissions(fd, !exists ? &st : nullptr);",
          "inverted test: a replaced file takes the new file's bits, a new file none"),
    Fault("replace-umask", "core text", CORE, "src/core/platform/PlatformPosix.cpp",
          "mode = 0666 & ~mask;", "mode = 0666 & mask;",
          "flipped mask: a new file gets the masked bits only"),
    Fault("replace-existing-mode", "core text", CORE, "src/core/platform/PlatformPosix.cpp",
          "mode = static_cast<mode_t>(keep->permissions);",
          "mode = static_cast<mode_t>(keep->permissions & 0700);",
          "wrong mask: group and other bits of the replaced file are lost"),
    Fault("replace-special-file", "core text", CORE, "src/core/text/FileReplace.cpp",
          "if (exists && st.kind != platform::FileKind::Regular) {",
          "if (exists && st.kind == platform::FileKind::Folder) {",
          "narrowed check: a FIFO or device is replaced"),
    Fault("replace-leaves-temp", "core text", CORE, "src/core/text/FileReplace.cpp",
          "        platform::RemoveFile(temp);\n        ForgetOnSignal(temp);\n", "        ForgetOnSignal(temp);\n",
          "dropped call: a failed save leaves its temporary file"),
    # ---- case sheet (core cases) --------------------------------------------
    Fault("sheet-title-40", "core cases", CORE, "src/core/cases/CaseSheet.cpp",
          "ShiftJisLength(clean) > static_cast<std::size_t>(CaseTitleBytes);",
          "ShiftJisLength(clean) >= static_cast<std::size_t>(CaseTitleBytes);",
          "off-by-one: a title of exactly 40 bytes is reported as cut"),
    Fault("sheet-clip-trailing-empty", "core cases", CORE, "src/core/cases/CaseSheet.cpp",
          "if (!atStart || !row.empty()) {", "if (!atStart) {",
          "dropped case: a last row ending in an empty cell is lost"),
    Fault("sheet-range-max", "core cases", CORE, "src/core/cases/CaseSheet.cpp",
          "value > c.max + 1e-9", "value > c.max - 1e-9",
          "flipped tolerance: the largest value of a cell is refused"),
    Fault("sheet-half-even", "core cases", CORE, "src/core/cases/CaseSheet.cpp",
          "(std::fmod(low, 2.0) == 0.0 ? low : low + 1.0)",
          "(std::fmod(low, 2.0) == 0.0 ? low + 1.0 : low)",
          "swapped branches: halves go to the odd neighbour"),
    Fault("sheet-choice-index", "core cases", CORE, "src/core/cases/CaseSheet.cpp",
          "index < static_cast<std::int32_t>(c.items.size())) {",
          "index <= static_cast<std::int32_t>(c.items.size())) {",
          "off-by-one: a choice index one past the last item is shown as an item"),
    Fault("sheet-ratio-last", "core cases", CORE, "src/core/cases/SideRatioList.cpp",
          "    return static_cast<int>(items.size()) - 1;\n}",
          "    return static_cast<int>(items.size());\n}",
          "off-by-one: a ratio above every entry proposes one past the last"),
    Fault("sheet-ratio-count", "core cases", CORE, "src/core/cases/SideRatioList.cpp",
          "count > kMaxEntries", "count >= kMaxEntries",
          "off-by-one: a list of the largest count is refused"),
    # ---- settings (core app) --------------------------------------------------
    Fault("profile-long-max", "core app", CORE, "src/core/app/CPrivateProfile.cpp",
          "if (n > 0x7FFFFFFFLL) {", "if (n >= 0x7FFFFFFFLL) {",
          "off-by-one: -2147483647 reads as -2147483648"),
    Fault("profile-cut-127", "core app", CORE, "src/core/app/CPrivateProfile.cpp",
          "raw.size() > 127 ? raw.substr(0, 127) : raw;", "raw.size() > 128 ? raw.substr(0, 128) : raw;",
          "off-by-one: a value keeps 128 bytes"),
    # ---- calculation (core calc) ----------------------------------------------
    Fault("calc-count-99", "core calc", CORE, "src/core/calc/basCalcMd.cpp",
          "if (n < 0 || n > MaxCases) {\n        if (error != nullptr) {",
          "if (n < 0 || n >= MaxCases) {\n        if (error != nullptr) {",
          "off-by-one: a project of 99 cases is not calculated"),
    Fault("calc-qb-tolerance", "core calc", CORE, "src/core/calc/basCalcMd.cpp",
          "} else if (std::fabs(qb) > kZeroLoadTolerance) {",
          "} else if (std::fabs(qb) >= kZeroLoadTolerance) {",
          "flipped comparison: |QB| = 0.009 is not reversed"),
    Fault("calc-reversed-index", "core calc", CORE, "src/core/calc/basCalcMd.cpp",
          "const int kk = reversed ? points - k + 1 : k;", "const int kk = reversed ? points - k : k;",
          "off-by-one: the reversed point index"),
    Fault("calc-free-edge-split", "core calc", CORE, "src/core/calc/basCalcMd.cpp",
          "        u = qb;\n        t = qa - qb;", "        u = qb;\n        t = qb - qa;",
          "swapped operands: the triangular part of a free-edge plate"),
    Fault("calc-ratio-tolerance", "core calc", CORE, "src/core/calc/basCalcMd.cpp",
          "if (std::fabs(h.ratio - lambda) < kLambdaMatchTolerance) {",
          "if (std::fabs(h.ratio - lambda) < 2 * kLambdaMatchTolerance) {",
          "wrong tolerance: a block 0.0139 away matches"),
    Fault("text-char-offset", "core text", CORE, "src/core/text/ShiftJis.cpp",
          "for (std::size_t i = 0; i < chars && pos < sjis.size(); ++i) {",
          "for (std::size_t i = 0; i <= chars && pos < sjis.size(); ++i) {",
          "off-by-one: the offset of one character more"),
    # ---- report writer (core report) ------------------------------------------
    Fault("report-template-line-20", "core report", REPORT, "src/core/report/basResOutPrn.cpp",
          "number > MaxTemplateLines) {", "number >= MaxTemplateLines) {",
          "off-by-one: template line 20 is refused"),
    Fault("report-template-line-0", "core report", REPORT, "src/core/report/basResOutPrn.cpp",
          "|| number < 1 ||", "|| number < 0 ||", "off-by-one: template line 0 is accepted"),
    Fault("report-template-text", "core report", REPORT, "src/core/report/basResOutPrn.cpp",
          "templates[number] = std::string(Utf8Mid(line, 5, std::string_view::npos));",
          "templates[number] = std::string(Utf8Mid(line, 4, std::string_view::npos));",
          "off-by-one: the template text starts at the level digit"),
    Fault("report-field-count", "core report", REPORT, "src/core/report/basResOutPrn.cpp",
          "if (numberFields.size() > static_cast<std::size_t>(MaxTemplateLines) ||",
          "if (numberFields.size() >= static_cast<std::size_t>(MaxTemplateLines) ||",
          "off-by-one: a template with 20 number fields is refused"),
    Fault("report-field-cut", "core report", REPORT, "src/core/report/basResOutPrn.cpp",
          "        if (i + len > width) {", "        if (i + len >= width) {",
          "off-by-one: a character that just fits its field is blanked"),
    Fault("report-deeper-levels", "core report", REPORT, "src/core/report/basResOutPrn.cpp",
          "if (level >= 3 || state.method == NumberingMethod::Own ||",
          "if (level > 3 || state.method == NumberingMethod::Own ||",
          "off-by-one: level 3 headings carry the chapter number"),
    Fault("report-letter-wrap", "core report", REPORT, "src/core/report/basResOutPrn.cpp",
          'case 4: wrap(26); return std::string("(")', 'case 4: wrap(25); return std::string("(")',
          "off-by-one: the letter numbering wraps after y"),
    Fault("report-plus-zero", "core report", REPORT, "src/core/report/basResOutPrn.cpp",
          'return value >= 0.0 ? "+" + s : s;', 'return value > 0.0 ? "+" + s : s;',
          "flipped comparison: zero loses its plus sign"),
    Fault("report-ratio-one", "core report", REPORT, "src/core/report/basResOutMd.cpp",
          "if (ratio > 1.0) {", "if (ratio >= 1.0) {",
          "flipped comparison: a square plate gets the sentences of Lx > Ly"),
    Fault("report-combined-item", "core report", REPORT, "src/core/report/ReportRun.cpp",
          "static_cast<int>(k) < combinedPos) {", "static_cast<int>(k) <= combinedPos) {",
          "off-by-one: the combined print file is taken as one of its own items"),
    # ---- diagram (core drawing) -----------------------------------------------
    Fault("diagram-equal-loads", "core drawing", DRAWING, "src/core/drawing/SectionForceDiagram.cpp",
          "std::fabs(QB) >= std::fabs(QA) ? QB : QA;", "std::fabs(QB) > std::fabs(QA) ? QB : QA;",
          "flipped comparison: a tie of the load magnitudes takes QA"),
    Fault("diagram-arrow-half-mm", "core drawing", DRAWING,
          "src/core/drawing/SectionForceDiagram.cpp",
          "                if (std::fabs(q) > 0.5) {\n                    d.AddArrow(hp, q > 0.0 ? Direction::Right",
          "                if (std::fabs(q) >= 0.5) {\n                    d.AddArrow(hp, q > 0.0 ? Direction::Right",
          "flipped comparison: a hatch line of 0.5 mm gets an arrow"),
    Fault("diagram-grid-lines", "core drawing", DRAWING, "src/core/drawing/SectionForceDiagram.cpp",
          "                if (k >= 2 && k <= n - 1) {\n                    segment(x1, p, x2, p, ThinStyle);",
          "                if (k >= 2 && k <= n) {\n                    segment(x1, p, x2, p, ThinStyle);",
          "off-by-one: a grid line is drawn over the top edge"),
    Fault("diagram-zero-load-base", "core drawing", DRAWING,
          "src/core/drawing/SectionForceDiagram.cpp",
          "qmax > 0.0 ? x1 - d.DimOffset - d.DimPitch : x1 - d.DimOffset - d.DimPitch - 15.0;",
          "qmax >= 0.0 ? x1 - d.DimOffset - d.DimPitch : x1 - d.DimOffset - d.DimPitch - 15.0;",
          "flipped comparison: zero loads put the base line 15 mm off"),
    Fault("diagram-span-places", "core drawing", DRAWING, "src/core/drawing/SectionForceDiagram.cpp",
          'picture += keta == 2 ? "##0.00" : "##0.000";', 'picture += keta != 3 ? "##0.00" : "##0.000";',
          "inverted test: a decimals index other than 2 or 3 gives two places"),
    Fault("diagram-scale-note", "core drawing", DRAWING, "src/core/drawing/SectionForceDiagram.cpp",
          "if (std::max(sx, sy) > 1.1 * std::min(sx, sy)) {",
          "if (std::max(sx, sy) > 1.6 * std::min(sx, sy)) {",
          "wrong constant: scales 58 % apart get no scale note"),
    Fault("drawing-overlap-touching", "core drawing", DRAWING, "src/core/drawing/DrawingOverlaps.h",
          "std::min(a.right, b.right) - std::max(a.left, b.left) > tolerance &&",
          "std::min(a.right, b.right) - std::max(a.left, b.left) >= tolerance &&",
          "flipped comparison: boxes that only touch count as overlapping"),
    Fault("drawing-extents-up-text", "core drawing", DRAWING, "src/core/drawing/basResOutPrnZ.cpp",
          "widen(t.x - TextHeight(t.style), t.y + TextWidth(t));",
          "widen(t.x + TextHeight(t.style), t.y + TextWidth(t));",
          "flipped sign: an upward text widens the extents on the wrong side"),
    Fault("drawing-direction-8", "core drawing", DRAWING, "src/core/drawing/DrawingCommandFile.cpp",
          "if (code < 1 || code > 8) {", "if (code < 1 || code > 7) {",
          "off-by-one: direction 8 is refused"),
    Fault("drawing-figure-entries", "core drawing", DRAWING, "src/core/drawing/FigureFile.cpp",
          "if (out.entries.size() >= kMaxFigureEntries) {", "if (out.entries.size() > kMaxFigureEntries) {",
          "off-by-one: one drawing more than the limit is read"),
    # ---- render layer -----------------------------------------------------------
    Fault("render-run-blank", "core report", REPORT, "src/core/report/PrintFile.cpp",
          "if (b > 0x20 && b < 0x7F) {", "if (b >= 0x20 && b < 0x7F) {",
          "off-by-one: a blank joins the text run"),
    Fault("render-max-columns", "core report", REPORT, "src/core/report/PrintFile.cpp",
          "std::min<std::size_t>(s.size(), kMaxColumns);",
          "std::min<std::size_t>(s.size(), kMaxColumns + 1);",
          "off-by-one: one column more than printable is kept"),
    Fault("render-max-lines", "core report", REPORT, "src/core/report/PrintFile.cpp",
          "if (out.lines.size() >= kMaxLines) {", "if (out.lines.size() > kMaxLines) {",
          "off-by-one: one line more than the limit is kept"),
    Fault("render-control-after-ff", "core report", REPORT, "src/core/report/PrintFile.cpp",
          "lineStart = lineStart && i == start;", "lineStart = true;",
          "dropped check: text behind a form feed inside a line is read as a control code"),
    Fault("render-page-overflow", "core report", REPORT, "src/core/report/ReportDocument.cpp",
          "if (m_y + m_setup.linePitch > m_setup.contentBottom() + 1e-9) {",
          "if (m_y > m_setup.contentBottom() + 1e-9) {",
          "off-by-one: one line too many on a full page"),
    Fault("render-blank-page-after-overflow", "core report", REPORT, "src/core/report/ReportDocument.cpp",
          "if (m_pageEmpty && m_autoStarted) {", "if (m_pageEmpty) {",
          "dropped condition: two form feeds no longer give a blank page"),
    Fault("render-wide-figure", "core report", REPORT, "src/core/report/ReportDocument.cpp",
          "            scale = std::min(scale, maxWidth / placed.width);\n", "",
          "dropped step: a figure wider than the page is not scaled"),
    Fault("render-page-limit", "core report", REPORT, "src/core/report/ReportDocument.cpp",
          "return m_pages.size() > kMaxPages;", "return m_pages.size() >= kMaxPages;",
          "off-by-one: a file of exactly the page limit loses its last page"),
    Fault("render-page-limit-trim", "core report", REPORT, "src/core/report/ReportDocument.cpp",
          "        if (m_pages.size() > kMaxPages) {\n            m_pages.resize(kMaxPages);",
          "        if (m_pages.size() >= kMaxPages) {\n            m_pages.resize(kMaxPages);",
          "off-by-one: a file of exactly the page limit is flagged as too large"),
    Fault("render-last-line-style", "core report", REPORT, "src/core/report/StyleTables.cpp",
          "return n < 1 || n > lineCount() ? m_lines.front()",
          "return n < 1 || n >= lineCount() ? m_lines.front()",
          "off-by-one: the last line style falls back to style 1"),
    Fault("render-full-arc", "render", RENDER, "src/render/PagePainter.cpp",
          "if (span <= 0.0) {", "if (span < 0.0) {",
          "flipped comparison: an arc from an angle to the same angle draws nothing"),
    Fault("render-pen-width", "render", RENDER, "src/render/PagePainter.cpp",
          "std::max(style.width / 100.0, kMinPenWidth)", "std::max(style.width / 10.0, kMinPenWidth)",
          "wrong unit: line widths ten times too wide"),
    Fault("render-shrink-height", "render", RENDER, "src/render/PagePainter.cpp",
          "k = std::min(k, areaHeight / (top - bottom));", "k = std::min(k, areaWidth / (top - bottom));",
          "swapped operand: a tall drawing is shrunk by the area's width"),
]

PLANTED = {}  # path -> original bytes while a fault is in it


def restore_all():
    for path, data in list(PLANTED.items()):
        with open(path, "wb") as f:
            f.write(data)
        del PLANTED[path]


def on_signal(signum, _frame):
    raise KeyboardInterrupt(f"signal {signum}")


def run(cmd, timeout=None, env=None, quiet=True):
    """Runs a command in its own process group; (returncode, output). A timeout
    kills the whole group and gives returncode None."""
    p = subprocess.Popen(cmd, cwd=ROOT, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         start_new_session=True)
    try:
        out, _ = p.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        out, _ = p.communicate()
        return None, out.decode(errors="replace")
    except BaseException:
        os.killpg(p.pid, signal.SIGKILL)
        p.wait()
        raise
    text = out.decode(errors="replace")
    if not quiet:
        sys.stdout.write(text)
    return p.returncode, text


def ensure_build_dir(build):
    if os.path.exists(os.path.join(build, "build.ninja")):
        return
    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if subprocess.call(
        ["sh", "-c", "command -v ccache >/dev/null"]) == 0 else []
    rc, out = run(["cmake", "-S", ".", "-B", build, "-G", "Ninja", *launcher,
                   "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DORMAVEX_WERROR=ON"])
    if rc != 0:
        sys.exit("cannot configure " + build + ":\n" + out)


def build_targets(build, targets):
    cmd = ["cmake", "--build", build]
    for t in targets:
        cmd += ["--target", t]
    return run(cmd, timeout=1800)


def test_env():
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "offscreen"
    return env


def run_layer(build, program):
    """True when the program's tests fail (the fault is caught)."""
    exe = os.path.join(build, "bin", program)
    rc, out = run([exe, "--gtest_brief=1"], timeout=600, env=test_env())
    failed = []
    for line in out.splitlines():
        if line.startswith("[  FAILED  ] ") and " listed below" not in line:
            name = line.split("] ", 1)[1].split(", where")[0].split(" (")[0]
            if name not in failed:
                failed.append(name)
    return rc != 0, failed, rc


def run_suite(build):
    rc, out = run(["ctest", "--test-dir", build, "-j2", "--timeout", "600"], timeout=3600,
                  env=test_env())
    failed = []
    for line in out.splitlines():
        s = line.strip()
        if s and s[0].isdigit() and " - " in s and ("(Failed)" in s or "(Timeout)" in s or
                                                       "(SEGFAULT)" in s or "Exception" in s):
            failed.append(s.split(" - ", 1)[1].rsplit(" (", 1)[0].strip())
    return rc != 0, failed


def devices_intact():
    import stat
    for dev in ("/dev/null", "/dev/zero", "/dev/full"):
        try:
            if os.path.exists(dev) and not stat.S_ISCHR(os.stat(dev).st_mode):
                return dev
        except OSError:
            return dev
    return None


def plant(fault):
    path = os.path.join(ROOT, fault.file)
    with open(path, "rb") as f:
        data = f.read()
    original = fault.original.encode()
    if data.count(original) != 1:
        return None
    PLANTED[path] = data
    with open(path, "wb") as f:
        f.write(data.replace(original, fault.replacement.encode(), 1))
    return path


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--build-dir", default=os.path.join(ROOT, "build-mut"))
    ap.add_argument("--full", action="store_true", help="run the whole suite for every fault")
    ap.add_argument("--only", help="comma-separated fault ids")
    ap.add_argument("--check", action="store_true", help="only check that each fault applies")
    args = ap.parse_args()

    faults = FAULTS
    if args.only:
        wanted = set(args.only.split(","))
        faults = [f for f in FAULTS if f.id in wanted]
        unknown = wanted - {f.id for f in faults}
        if unknown:
            sys.exit("unknown fault ids: " + ", ".join(sorted(unknown)))
    ids = [f.id for f in FAULTS]
    assert len(ids) == len(set(ids)), "fault ids must be unique"

    stale = []
    for f in faults:
        with open(os.path.join(ROOT, f.file), "rb") as fh:
            if fh.read().count(f.original.encode()) != 1:
                stale.append(f.id)
    if args.check:
        for f in faults:
            print(("STALE " if f.id in stale else "ok    ") + f"{f.id:34} {f.layer:13} {f.file}")
        return 1 if stale else 0

    rc, out = run(["git", "status", "--porcelain", "--untracked-files=no"])
    if rc != 0 or out.strip():
        sys.exit("refusing to start: tracked files have uncommitted changes\n" + out)

    try:
        os.nice(19)
    except OSError:
        pass
    for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, on_signal)

    build = os.path.abspath(args.build_dir)
    ensure_build_dir(build)
    programs = sorted({f.tests for f in faults})
    print(f"== building {build} ({', '.join(programs)})", flush=True)
    rc, out = build_targets(build, programs if not args.full else [])
    if rc != 0:
        sys.exit("the unchanged tree does not build:\n" + out[-4000:])

    results = []  # (fault, verdict, detail)
    started = time.time()
    try:
        for n, f in enumerate(faults, 1):
            head = f"[{n:2}/{len(faults)}] {f.id:34}"
            if f.id in stale:
                results.append((f, "stale", "original text not found exactly once"))
                print(f"{head} STALE", flush=True)
                continue
            t0 = time.time()
            path = plant(f)
            try:
                rc, out = build_targets(build, [f.tests])
                if rc != 0:
                    results.append((f, "no-build", out.strip().splitlines()[-1:]))
                    print(f"{head} does not build", flush=True)
                    continue
                caught, failed, code = run_layer(build, f.tests)
                verdict = "caught" if caught else "missed"
                detail = ", ".join(failed[:3]) if failed else (f"exit {code}" if caught else "")
                if not caught or args.full:
                    rc, out = build_targets(build, [])
                    if rc != 0:
                        detail += "; the rest does not build"
                    else:
                        suite_caught, suite_failed = run_suite(build)
                        if not caught and suite_caught:
                            verdict = "elsewhere"
                        if suite_caught:
                            detail += ("; " if detail else "") + "suite: " + ", ".join(
                                suite_failed[:3]) + (" ..." if len(suite_failed) > 3 else "")
                results.append((f, verdict, detail))
                print(f"{head} {verdict:9} {time.time() - t0:5.0f} s  {detail}", flush=True)
            finally:
                restore_all()
            broken = devices_intact()
            if broken:
                print(f"STOPPED: {broken} is no longer a device after fault {f.id}", flush=True)
                break
    except KeyboardInterrupt as e:
        restore_all()
        print(f"\ninterrupted ({e}); every file restored", flush=True)
    finally:
        restore_all()

    rc, out = run(["git", "status", "--porcelain", "--untracked-files=no"])
    if out.strip():
        print("WARNING: the tree is not clean after restoring:\n" + out)

    planted = [r for r in results if r[1] in ("caught", "missed", "elsewhere")]
    caught = [r for r in planted if r[1] == "caught"]
    elsewhere = [r for r in planted if r[1] == "elsewhere"]
    missed = [r for r in planted if r[1] == "missed"]
    print()
    print(f"== {len(planted)} planted in {time.time() - started:.0f} s: {len(caught)} caught by "
          f"their own layer, {len(elsewhere)} only by another layer, {len(missed)} missed "
          f"({100.0 * (len(caught) + len(elsewhere)) / max(1, len(planted)):.0f} % caught, "
          f"{100.0 * len(caught) / max(1, len(planted)):.0f} % by their own layer)")
    for f, verdict, detail in results:
        if verdict != "caught":
            print(f"   {verdict:9} {f.id} [{f.layer}] {f.file}: {f.slip}" +
                  (f" ({detail})" if detail else ""))
    return 1 if missed or elsewhere else 0


if __name__ == "__main__":
    sys.exit(main())
