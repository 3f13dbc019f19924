// Sorting of the equations, and the BAC and awaited-input writers, which do nothing yet.
#include "automaton/b_automaton.h"

#include <iostream>

std::list<long> b_automaton::sort()
{
    if (wood == nullptr) return std::list<long>();
    // every call dates the equations afresh: the computation only raises dates
    clear_dates();
    wood->update_nb_level(0);
    level_count = wood->compute_dates();
    return wood->loop_detection();
}

void b_automaton::clear_dates()
{
    if (wood == nullptr) return;
    for (long p : wood->expression_ids) {
        Bddexpression* e = p >= 0 && p < wood->nb_bdd_vars ? wood->exp_table[p] : nullptr;
        if (e == nullptr) continue;
        e->early_date = 0;
        e->setLateDate(0);
    }
}

void b_automaton::BAC_put(std::ostream&, int, const std::string&)
{
    std::cerr << "to do !" << std::endl;
}

void b_automaton::export_awaited_inputs()
{
    std::cerr << "A REVOIR ..." << std::endl;
}
