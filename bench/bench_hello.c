/* A hello-world in C, without Qt or the C++ library: the start-up floor next
   to which bench_report times ormavex-batch. */

#include <stdio.h>

int main(void) {
    puts("hello, world");
    return 0;
}
