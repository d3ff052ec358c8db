#include <cstdio>

int main()
{
    std::fprintf(stderr, "usage: kvr610-cli COMMAND ...\n");
    return 2;
}
