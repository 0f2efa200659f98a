// quimbly-render: command-line access to the picture code.
#include <cstdio>

int main() {
    std::fputs("usage: quimbly-render decode FILE OUT.ppm\n", stderr);
    return 2;
}
