// The list templates instantiated for BDD handles.
#include "bdd/list_bdd.h"

#include <iostream>

std::list<bdd> empty_list_bdd;

void list_bdd_inutile()
{
    bddpp_manager m;
    std::list<bdd> l;
    l.push_back(m.Bdd_one());
    l.push_back(m.Bdd_zero());
    std::list<bdd> copy = l;
    bdd* a = array_convert(copy);
    std::cerr << "item_where de 0 " << item_where(l, m.Bdd_zero()) << std::endl;
    std::cerr << "taille " << l.size() << " " << item_in(l, a[0]) << std::endl;
    std::cerr << "avant " << l << std::endl;
    delete[] a;
}
