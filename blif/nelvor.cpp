// nelvor: reads the command line and runs the translation; the process always ends through exit.
#include <cstdlib>

#include "blif/driver.h"

int main(int argc, char** argv)
{
    std::exit(nelvor_main(argc, argv));
}
