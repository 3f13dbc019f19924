// The deque of BDD handles used as queue and stack.
#include "bdd/fifo_stack_bdd.h"

template class std::deque<bdd>;

void fifo_stack_bdd_inutile()
{
    bddpp_manager m;
    fifo_bdd queue;
    queue.push_back(m.Bdd_one());
    queue.pop_front();
    stack_bdd stack;
    stack.push_back(m.Bdd_zero());
    stack.pop_back();
}
