// The variable a BDD simulator panel adds.
#include "bdd/bddpp.h"

#include <iostream>

#include "forms/simulator_panel.h"

long simulator_bdd_position(bddpp_manager* m, const bdd& v, const char* operation)
{
    long p = m->Bdd_if_index(v);
    if (p == -1) {
        std::cerr << "ERROR in " << operation << "(): a constant has no variable, nothing added" << std::endl;
    } else if (p < 0 || p >= m->nvars) {
        std::cerr << "ERROR in " << operation << "(): position " << p
                  << " is no variable of the manager, nothing added" << std::endl;
        p = -1;
    }
    return p;
}
