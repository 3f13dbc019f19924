// The list templates instantiated for equations and equation pointers.
#include "forest/list_Bddexpression_instances.h"

#include <iostream>

void list_Bddexpression_inutile()
{
    std::list<Bddexpression> equations;
    equations.push_back(Bddexpression());
    equations.push_back(Bddexpression());
    Bddexpression* array = array_convert(equations);
    std::cerr << "taille " << equations.size() << " " << equations << std::endl;
    std::list<Bddexpression*> pointers;
    pointers.push_back(&array[0]);
    pointers.push_back(&array[1]);
    std::cerr << "avant " << pointers << std::endl;
    delete[] array;
}
