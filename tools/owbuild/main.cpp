// OWBUILD: builds .owd dictionaries from word lists.
#include "common/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    return quillon::tools::RunOwbuild(quillon::tools::Arguments(argc, argv), std::cout, std::cerr);
}
