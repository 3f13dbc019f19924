// The wire record of the synchronous product.
#include "automaton/b_automaton.h"

b_automaton_connector::b_automaton_connector() : from_automaton(-1), from_output(-1), to_automaton(-1), to_input(-1)
{
}

b_automaton_connector::b_automaton_connector(int fa, int fo, int ta, int ti)
    : from_automaton(fa), from_output(fo), to_automaton(ta), to_input(ti)
{
}

b_automaton_connector& b_automaton_connector::operator=(const b_automaton_connector& c)
{
    from_automaton = c.from_automaton;
    from_output = c.from_output;
    to_automaton = c.to_automaton;
    to_input = c.to_input;
    return *this;
}

std::ostream& operator<<(std::ostream& os, const b_automaton_connector& c)
{
    os << c.from_automaton << ":" << c.from_output << " --> " << c.to_automaton << ":" << c.to_input << std::endl;
    return os;
}
