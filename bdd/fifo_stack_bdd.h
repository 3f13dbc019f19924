// First-in first-out queues and stacks of BDD handles, both kept in a std::deque.
#ifndef NELVOR_FIFO_STACK_BDD_H
#define NELVOR_FIFO_STACK_BDD_H

#include <deque>

#include "bdd/bddpp.h"

typedef std::deque<bdd> fifo_bdd;  // push_back to enter, front and pop_front to leave
typedef std::deque<bdd> stack_bdd; // push_back to push, back and pop_back to pop

// Makes the deque of bdd exist in the library; nobody calls it.
void fifo_stack_bdd_inutile();

#endif
