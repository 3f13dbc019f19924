// filtre_sorties: the listed positive literals of a cube.
#include "blif/run_writers.h"

#include <vector>

#include "utils/list_templates.h"

bdd filtre_sorties(bddpp_manager* manager, bdd f, std::list<std::string>& names)
{
    bdd r = manager->Bdd_one();
    std::vector<int> lits(manager->nvars > 0 ? manager->nvars : 1, 2);
    manager->Bdd_to_literals(f, lits.data());
    for (long i = 0; i < manager->nvars; ++i)
        if (lits[i] == 1 && item_in(names, manager->Name_var_by_index(i)))
            r = manager->Bdd_and(r, manager->Bdd_var_by_index(i));
    if (r == manager->Bdd_one()) r = manager->Bdd_zero();
    return r;
}
