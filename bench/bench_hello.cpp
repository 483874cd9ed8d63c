// A hello-world without Qt: the start-up floor next to which bench_report
// times ormavex-batch --moments.

#include <iostream>

int main() {
    std::cout << "hello, world\n";
    return 0;
}
