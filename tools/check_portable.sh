#!/bin/sh
# Fails, naming file and line, when the windows, the renderer or the programs'
# main files (src/gui, src/render, src/apps) include a POSIX header or call a
# POSIX function: what they need of the system goes through the core's
# platform layer (src/core/platform), so that they build on Windows as well.
# Usage: check_portable.sh [SRC]   (default: src beside this script)
cd "${1:-$(dirname "$0")/../src}" || exit 2
headers='unistd|fcntl|dlfcn|spawn|pwd|grp|dirent|pthread|iconv|termios|poll|syslog|libgen|langinfo|glob|fnmatch|strings|sys/[a-z_]+|netinet/[a-z_]+|arpa/[a-z_]+'
calls='fork|vfork|execv|execvp|execve|execl|execlp|waitpid|mkstemp|mkstemps|mkdtemp|unlink|symlink|readlink|realpath|chmod|fchmod|umask|getuid|geteuid|setenv|unsetenv|sigaction|sigprocmask|pthread_sigmask|dlopen|dlsym|posix_spawn|posix_spawnp|isatty|fsync|ftruncate|popen|pclose|::open|::close|::read|::write|::stat|::lstat|::fstat|::access|::mkdir|::rename'
found=$( {
    grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($headers)\.h>" \
        --include='*.h' --include='*.cpp' gui render apps 2>/dev/null
    grep -rnE "(^|[^A-Za-z0-9_.>:])($calls)[[:space:]]*\(" \
        --include='*.h' --include='*.cpp' gui render apps 2>/dev/null
} | sort -u)
[ -z "$found" ] && exit 0
echo "POSIX use outside the core's platform layer:" >&2
echo "$found" >&2
exit 1
