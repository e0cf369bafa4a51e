#include "Start.h"

int main(int argc, char** argv)
{
    return UruchomKalmore(argc, argv);
}
