#include <cstdio>

int main()
{
    std::fprintf(stderr, "usage: kvr610-sim ...\n");
    return 2;
}
