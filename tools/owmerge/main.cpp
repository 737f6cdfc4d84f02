// OWMERGE: merges word lists.
#include "common/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    return quillon::tools::RunOwmerge(quillon::tools::Arguments(argc, argv), std::cout, std::cerr);
}
