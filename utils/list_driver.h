// The exercise that makes the list and set templates exist for one element type.
#ifndef NELVOR_LIST_DRIVER_H
#define NELVOR_LIST_DRIVER_H

#include <iostream>

#include "utils/list_templates.h"

// Builds the lists (a, b) and ((a, b), (a, b)), converts, searches, reads and replaces by
// position, and prints them on the standard error stream.
template <class T> void list_driver(const T& a, const T& b)
{
    std::list<T> l;
    l.push_back(a);
    l.push_back(b);
    std::list<T> copy(l);
    std::list<std::list<T> > nested;
    nested.push_back(l);
    nested.push_back(copy);
    T* elements = array_convert(l);
    std::list<T>* lists = array_convert(nested);
    std::cerr << "item_where de 3 " << item_where(l, a) << std::endl;
    std::cerr << "taille " << l.size() << " " << item_in(l, b) << std::endl;
    std::cerr << "read_number " << read_number(l, 1) << std::endl;
    std::cerr << "avant " << l << std::endl;
    replace_number(l, 1, b);
    std::cerr << "apres " << l << " " << nested << std::endl;
    std::cerr << "item_where de 5 " << item_where(nested, copy) << std::endl;
    std::set<T> s(copy.begin(), copy.end());
    std::set<T> t;
    t.insert(b);
    std::cerr << priv(s, t) << set_inter(s, t) << set_union(s, t) << item_in(s, a) << std::endl;
    T* sorted = array_convert(s);
    delete[] sorted;
    delete[] lists;
    delete[] elements;
}

// One source unit's content: the global empty list of type T and its instantiation driver.
#define NELVOR_LIST_UNIT(T, NAME, A, B) \
    std::list<T> empty_list_##NAME;     \
    void list_##NAME##_inutile() { list_driver<T>(A, B); }

#endif
