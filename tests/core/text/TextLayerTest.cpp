#include "core/platform/Utf8.h"
#include "core/text/LeadingNumber.h"
#include "core/text/ListInput.h"
#include "core/text/NumberPicture.h"
#include "core/text/ShiftJis.h"
#include "core/text/TextFile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace ormavex;

TEST(ShiftJis, RoundTripsJapaneseAndCountsBytes) {
    const std::string text = "検討ｹｰｽ名称 ㎡ ①～⑳ Ｌx";
    const std::string sjis = ToShiftJis(text);
    EXPECT_EQ(FromShiftJis(sjis), text);
    // 検討 = 2 x 2, ｹｰｽ = 3 x 1 (half-width katakana), 名称 = 4
    EXPECT_EQ(ShiftJisLength("検討ｹｰｽ名称"), 11u);
    EXPECT_EQ(ToShiftJis("㎡").size(), 2u); // a code page 932 extension character
    // A character outside code page 932 becomes "?", never an error.
    EXPECT_EQ(ToShiftJis("a😀b"), "a?b");

    // Texts kept converted give the same bytes as their parts converted one
    // by one, also when many other texts came between.
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 300; ++i) {
            const std::string n = std::to_string(i);
            ASSERT_EQ(ToShiftJis("  Ｌx ＝ " + n + "ｍ 検討"),
                      "  " + ToShiftJis("Ｌ") + "x " + ToShiftJis("＝") + " " + n +
                          ToShiftJis("ｍ") + " " + ToShiftJis("検討"));
        }
    }
}

TEST(ShiftJis, CutsWithoutSplittingDoubleByteCharacters) {
    EXPECT_EQ(CutToShiftJisBytes("あいう", 5), "あい");
    EXPECT_EQ(CutToShiftJisBytes("aあ", 2), "a");
    EXPECT_EQ(CutToShiftJisBytes("あい", 4), "あい"); // exactly the limit
    const std::string sjis = ToShiftJis("あiう");
    EXPECT_EQ(ShiftJisCharOffset(sjis, 2), 3u);
    EXPECT_EQ(ShiftJisCharOffset(sjis, 9), sjis.size());
}

namespace {
std::string Hex(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
    }
    return out;
}

std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return out;
}

std::string Utf8Of(unsigned long cp) {
    std::string s;
    platform::AppendUtf8(s, static_cast<char32_t>(cp));
    return s;
}
} // namespace

// Every character of code page 932 (each single byte, each lead byte with
// each trail byte) is read and written as the stored table says, so that
// the files are the same bytes whatever system wrote them.
TEST(ShiftJis, EveryCodePage932CharacterMatchesTheStoredTable) {
    std::ifstream in(ORMAVEX_SOURCE_DIR "/tests/core/text/cp932-table.txt", std::ios::binary);
    ASSERT_TRUE(in.good());
    const std::string bad = "\xEF\xBF\xBD";
    std::map<std::string, std::string> readAs;  // bytes -> character
    std::map<std::string, std::string> writeAs; // character -> bytes, where not its own bytes
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string tag, a, b;
        fields >> tag >> a >> b;
        if (tag == "RT") {
            writeAs[FromShiftJis(FromHex(a))] = FromHex(b);
        } else if (tag == "WO") {
            writeAs[Utf8Of(std::stoul(a, nullptr, 16))] = FromHex(b);
        } else if (tag == "SB" || (tag.size() == 2 && std::isxdigit(tag[0]))) {
            const std::string chars = line.substr(3);
            unsigned first = tag == "SB" ? 0x80 : 0x40;
            for (std::size_t i = 0, n = 0; i < chars.size(); i += n, ++first) {
                n = Utf8SequenceLength(static_cast<unsigned char>(chars[i]));
                std::string bytes(1, static_cast<char>(first));
                if (tag != "SB") {
                    bytes.insert(0, 1, static_cast<char>(std::stoi(tag, nullptr, 16)));
                }
                readAs[bytes] = chars.substr(i, n);
            }
        }
    }
    ASSERT_EQ(readAs.size(), 128u + 60u * 189u);
    std::vector<std::string> wrong;
    int characters = 0;
    for (const auto& [bytes, ch] : readAs) {
        if (FromShiftJis(bytes) != ch) {
            wrong.push_back("read " + Hex(bytes) + " as " + Hex(FromShiftJis(bytes)) + ", not " +
                            Hex(ch));
        }
        if (ch != bad) {
            ++characters;
            auto it = writeAs.find(ch);
            const std::string expected = it != writeAs.end() ? it->second : bytes;
            if (ToShiftJis(ch) != expected) {
                wrong.push_back("wrote " + Hex(ch) + " as " + Hex(ToShiftJis(ch)) + ", not " +
                                Hex(expected));
            }
        }
    }
    for (const auto& [ch, bytes] : writeAs) {
        if (ToShiftJis(ch) != bytes) {
            wrong.push_back("wrote " + Hex(ch) + " as " + Hex(ToShiftJis(ch)) + ", not " +
                            Hex(bytes));
        }
    }
    // Every other character (some of which a system's own table maps to
    // private or control bytes) is written as "?". All of them in one text,
    // each followed by a line feed.
    std::map<std::string, std::string> written = writeAs;
    for (const auto& [bytes, ch] : readAs) {
        if (ch != bad) {
            written.emplace(ch, bytes);
        }
    }
    std::string all;
    for (unsigned long cp = 0x80; cp <= 0x10FFFF; cp = cp == 0xD7FF ? 0xE000 : cp + 1) {
        all += Utf8Of(cp) + "\n";
    }
    std::istringstream lines(ToShiftJis(all));
    std::string got;
    for (unsigned long cp = 0x80; cp <= 0x10FFFF; cp = cp == 0xD7FF ? 0xE000 : cp + 1) {
        std::getline(lines, got);
        auto it = written.find(Utf8Of(cp));
        if (got != (it != written.end() ? it->second : "?")) {
            wrong.push_back("wrote " + Hex(Utf8Of(cp)) + " as " + Hex(got));
        }
    }
    EXPECT_EQ(characters, 63 + 9604);
    for (std::size_t i = 0; i < wrong.size() && i < 40; ++i) {
        ADD_FAILURE() << wrong[i];
    }
    EXPECT_EQ(wrong.size(), 0u);
    for (int b = 0; b < 0x80; ++b) {
        const std::string ascii(1, static_cast<char>(b));
        EXPECT_EQ(ToShiftJis(ascii), ascii);
        EXPECT_EQ(FromShiftJis(ascii), ascii);
    }
}

TEST(LineReader, SplitsCrLfAndTakesLastLineWithoutEnd) {
    LineReader r("a\r\n\r\nb\nc");
    std::vector<std::string> lines;
    std::string_view l;
    while (r.next(l)) {
        lines.emplace_back(l);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "b", "c"}));
}

TEST(LeadingNumber, TakesTheLongestNumericPrefix) {
    EXPECT_DOUBLE_EQ(LeadingNumber("12abc"), 12.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("  - 1 .5x"), -1.5);
    EXPECT_DOUBLE_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("1E-05"), 1e-5);
    EXPECT_DOUBLE_EQ(LeadingNumber("1.50\t(λ)"), 1.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("2E"), 2.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(LeadingNumber("1E+05"), 1e5);
    EXPECT_DOUBLE_EQ(LeadingNumber("-.5E-1x"), -0.05);
    EXPECT_DOUBLE_EQ(LeadingNumber("3E+x"), 3.0);
}

TEST(LeadingNumber, WholeNumbersAndRounding) {
    double v = 0;
    EXPECT_TRUE(ParseNumber(" -0.25 ", v));
    EXPECT_DOUBLE_EQ(v, -0.25);
    EXPECT_FALSE(ParseNumber("1 2", v));
    EXPECT_FALSE(ParseNumber("12a", v));
    EXPECT_FALSE(ParseNumber("", v));
    // Malformed numbers are not numbers as a whole.
    for (const char* bad : {"1.2.3", "2E", "1E+", "-", ".", "1E5.5"}) {
        EXPECT_FALSE(ParseNumber(bad, v)) << bad;
    }
    EXPECT_TRUE(ParseNumber("1E+05", v));
    EXPECT_DOUBLE_EQ(v, 1e5);
    std::int32_t i = 0;
    EXPECT_TRUE(RoundToInt32(2.5, i));
    EXPECT_EQ(i, 2);
    EXPECT_TRUE(RoundToInt32(3.5, i));
    EXPECT_EQ(i, 4);
    EXPECT_FALSE(RoundToInt32(3e9, i));
    // The ends of the 32-bit range, judged after rounding.
    EXPECT_TRUE(RoundToInt32(-2147483648.0, i));
    EXPECT_EQ(i, INT32_MIN);
    EXPECT_TRUE(RoundToInt32(2147483647.4, i));
    EXPECT_EQ(i, INT32_MAX);
    EXPECT_FALSE(RoundToInt32(2147483647.5, i)); // to the even 2147483648
    EXPECT_FALSE(RoundToInt32(NAN, i));
}

struct PictureCase {
    double value;
    const char* picture;
    const char* expected;
};

class NumberPictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(NumberPictureTest, Formats) {
    const PictureCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.picture), c.expected) << c.value << " " << c.picture;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, NumberPictureTest,
    ::testing::Values(PictureCase{53, "##,##0", "53"}, PictureCase{1234, "##,##0", "1,234"},
                      PictureCase{1234567, "#,##0", "1,234,567"}, PictureCase{0, "##,##0", "0"},
                      PictureCase{3.5, "##0.00", "3.50"},
                      PictureCase{1.005, "0.00", "1.01"}, // on the decimal form
                      PictureCase{2.675, "#0.00", "2.68"},
                      PictureCase{-2.675, "#0.00", "-2.68"},   // half away from zero
                      PictureCase{-0.001, "####0.00", "0.00"}, // no "-0.00"
                      PictureCase{-1.25, "####0.00", "-1.25"},
                      PictureCase{99.995, "#0.00", "100.00"}, // wider than the picture
                      PictureCase{95.3, "###0.00\\, ", "95.30, "},
                      PictureCase{-62.65, "###0.00\\, ", "-62.65, "},
                      PictureCase{-128, "###0.00", "-128.00"},
                      PictureCase{0.1234565, "###0.000000\\, ", "0.123457, "},
                      PictureCase{7, "###0\\, ", "7, "}, PictureCase{-7.5, "####0", "-8"},
                      PictureCase{4, "\\Ｌ\\x\\ \\＝\\ ##0.00\\ｍ", "Ｌx ＝ 4.00ｍ"},
                      PictureCase{12.5, "###0.00\\k\\N\\/\\㎡", "12.50kN/㎡"},
                      PictureCase{3, "#0", "3"}, PictureCase{0.5, "#.00", ".50"},
                      PictureCase{1.23456789012345e10, "0.00", "12345678901.23"}));

TEST(ListPrint, NumberFormAndZones) {
    EXPECT_EQ(ListPrintNumber(140), " 140 ");
    EXPECT_EQ(ListPrintNumber(0.5), " .5 ");
    EXPECT_EQ(ListPrintNumber(-0.25), "-.25 ");
    EXPECT_EQ(ListPrintNumber(-62.65), "-62.65 ");
    EXPECT_EQ(ListPrintNumber(0), " 0 ");
    EXPECT_EQ(ListPrintNumber(1e-5), " 1E-05 ");
    EXPECT_EQ(ListPrintLine({140, 160}), " 140           160 ");
    // A first number longer than one zone pushes the second to the next zone.
    EXPECT_EQ(ListPrintLine({-12345.678901234, 1}), "-12345.678901234             1 ");
    EXPECT_EQ(ListPrintLine({-12345.678901234, 1}).find(" 1 "), 28u);

    // The digits are printf's "%.15g", for any magnitude and for the values
    // that lie on a rounding half of the 15th digit.
    std::mt19937_64 rng(7);
    for (int i = 0; i < 100000; ++i) {
        double v =
            std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 200) - 150);
        if (i % 3 == 0) {
            v = std::round(v * 1e4) / 1e4 + 5e-5;
        }
        v = rng() % 2 == 0 ? v : -v;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", v);
        std::string expected = buf;
        const std::size_t e = expected.find('e');
        if (e != std::string::npos) {
            expected[e] = 'E';
        }
        if (expected.rfind("0.", 0) == 0 || expected.rfind("-0.", 0) == 0) {
            expected.erase(expected.find('0'), 1);
        }
        ASSERT_EQ(ListPrintNumber(v), (v > 0 ? " " : "") + expected + " ") << v;
    }
}

TEST(ListInput, ReadsQuotedUnquotedAndEmptyItems) {
    // A comma at a line end ends the line with the item: no empty item follows.
    ListInputReader r("\"a, b\" \r\n 12, \r\n\r\nabc,-3\r\n\"unterminated\r\nlast");
    ListInputReader::Field f;
    ASSERT_TRUE(r.next(f));
    EXPECT_TRUE(f.quoted);
    EXPECT_EQ(f.text, "a, b");
    ASSERT_TRUE(r.next(f));
    EXPECT_EQ(f.text, "12");
    ASSERT_TRUE(r.next(f));
    EXPECT_TRUE(f.empty);
    ASSERT_TRUE(r.next(f));
    EXPECT_EQ(f.text, "abc");
    ASSERT_TRUE(r.next(f));
    EXPECT_EQ(f.text, "-3");
    ASSERT_TRUE(r.next(f));
    EXPECT_EQ(f.text, "unterminated");
    ASSERT_TRUE(r.next(f));
    EXPECT_EQ(f.text, "last");
    EXPECT_FALSE(r.next(f));
}

TEST(ListInput, NumberFieldsSplitOnBlanksCommasAndLines) {
    ListInputReader r(" 1.5, -2  3\r\n\r\n\t.25,\r\n");
    std::vector<std::string> fields;
    std::string_view t;
    while (r.nextNumberField(t)) {
        fields.emplace_back(t);
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"1.5", "-2", "3", ".25"}));
}
