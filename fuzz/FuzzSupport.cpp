#include "FuzzSupport.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace ormavex::fuzz {

const std::string& ScratchFolder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string tmpl =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/ormavex-fuzz-XXXXXX";
        if (::mkdtemp(tmpl.data()) == nullptr) {
            Fail("cannot make the scratch folder");
        }
        return tmpl;
    }();
    return folder;
}

void WriteWhole(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        Fail("cannot write a scratch file");
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            Fail("cannot write a scratch file");
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

} // namespace ormavex::fuzz
