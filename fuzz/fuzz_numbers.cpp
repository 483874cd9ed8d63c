// List input and numbers: fields are split without a crash, every field
// ends inside the data, and the fixed-point writer of the drawings agrees
// with the picture formatter of the report on any double.

#include "FuzzSupport.h"

#include "core/drawing/FixedNumber.h"
#include "core/text/LeadingNumber.h"
#include "core/text/ListInput.h"
#include "core/text/NumberPicture.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        ormavex::ListInputReader in(bytes);
        ormavex::ListInputReader::Field f;
        std::size_t last = 0;
        while (in.next(f)) {
            FUZZ_CHECK(in.position() > last || in.atEnd());
            last = in.position();
            double v = 0.0;
            (void)ormavex::ParseNumber(f.text, v);
            (void)ormavex::LeadingNumber(f.text);
        }
    }
    {
        ormavex::ListInputReader in(bytes);
        std::string_view text;
        while (in.nextNumberField(text)) {
            FUZZ_CHECK(text.data() >= bytes.data() &&
                       text.data() + text.size() <= bytes.data() + bytes.size());
        }
    }
    if (size >= sizeof(double)) {
        double v = 0.0;
        std::memcpy(&v, data, sizeof v);
        if (std::isfinite(v) && std::fabs(v) < 1e13) {
            static const std::pair<int, const char*> kPictures[] = {
                {2, "###0.00"}, {6, "###0.000000"}, {0, "###0"}};
            for (const auto& [decimals, picture] : kPictures) {
                std::string s;
                ormavex::AppendFixedNumber(s, v, decimals);
                FUZZ_CHECK(s == ormavex::FormatNumber(v, picture));
            }
        }
    }
    return 0;
}
