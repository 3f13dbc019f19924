// Search, positional access, array conversion, set algebra and printing over std::list and std::set.
#ifndef NELVOR_LIST_TEMPLATES_H
#define NELVOR_LIST_TEMPLATES_H

#include <list>
#include <ostream>
#include <set>
#include <string>

// Built empty before main and cleared at exit; no operation reads or writes them.
extern std::list<int> empty_list_int;
extern std::list<std::string> empty_list_String;
extern std::list<long> empty_list_long;

// Make the instantiations for int, std::string and long exist; nobody calls them.
void list_int_inutile();
void list_String_inutile();
void list_long_inutile();

template <class T> std::ostream& operator<<(std::ostream& os, const std::list<T>& l);
template <class T> std::ostream& operator<<(std::ostream& os, const std::set<T>& s);

namespace list_templates_detail {

// New array (delete[] by the caller) of the elements in iteration order; null when empty.
template <class C> typename C::value_type* array_of(const C& c)
{
    if (c.empty()) return nullptr;
    typename C::value_type* a = new typename C::value_type[c.size()];
    int k = 0;
    for (typename C::const_iterator i = c.begin(); i != c.end(); ++i) a[k++] = *i;
    return a;
}

// The elements of a that are in b (in_b true) or not in b (in_b false).
template <class T> std::set<T> filtered(const std::set<T>& a, const std::set<T>& b, bool in_b)
{
    std::set<T> r;
    for (typename std::set<T>::const_iterator i = a.begin(); i != a.end(); ++i)
        if ((b.find(*i) != b.end()) == in_b) r.insert(r.end(), *i);
    return r;
}

// open, the elements joined by separator, close; flushing after every element and at the end.
template <class C>
std::ostream& print_joined(std::ostream& os, const C& c, const char* open, const char* separator, const char* close,
                           bool flush)
{
    os << open;
    for (typename C::const_iterator i = c.begin(); i != c.end(); ++i) {
        if (i != c.begin()) os << separator;
        os << *i;
        if (flush) os.flush();
    }
    os << close;
    if (flush) os.flush();
    return os;
}

} // namespace list_templates_detail

// 1-based position of the first element equal to v; 0 when none is.
template <class T> int item_where(const std::list<T>& l, const T& v)
{
    int position = 0;
    for (typename std::list<T>::const_iterator i = l.begin(); i != l.end(); ++i) {
        ++position;
        if (*i == v) return position;
    }
    return 0;
}

template <class T> bool item_in(const std::list<T>& l, const T& v)
{
    return item_where(l, v) != 0;
}

// 1 when some element equals v, else 0; compares with ==, walking in ascending order.
template <class T> int item_in(const std::set<T>& s, const T& v)
{
    for (typename std::set<T>::const_iterator i = s.begin(); i != s.end(); ++i)
        if (*i == v) return 1;
    return 0;
}

// The n-th element (1-based); the element type's zero when there is no such position.
template <class T> T read_number(const std::list<T>& l, int n)
{
    int position = 0;
    for (typename std::list<T>::const_iterator i = l.begin(); i != l.end(); ++i)
        if (++position == n) return *i;
    return T();
}

// Assigns v to the n-th element (1-based); leaves the list alone when there is no such position.
template <class T> void replace_number(std::list<T>& l, int n, const T& v)
{
    int position = 0;
    for (typename std::list<T>::iterator i = l.begin(); i != l.end(); ++i)
        if (++position == n) {
            *i = v;
            return;
        }
}

// New array (delete[] by the caller) of the elements in list order; null for an empty list.
template <class T> T* array_convert(const std::list<T>& l)
{
    return list_templates_detail::array_of(l);
}

// New array (delete[] by the caller) of the elements in ascending order; null for an empty set.
template <class T> T* array_convert(const std::set<T>& s)
{
    return list_templates_detail::array_of(s);
}

// a \ b
template <class T> std::set<T> priv(const std::set<T>& a, const std::set<T>& b)
{
    return list_templates_detail::filtered(a, b, false);
}

template <class T> std::set<T> set_inter(const std::set<T>& a, const std::set<T>& b)
{
    return list_templates_detail::filtered(a, b, true);
}

template <class T> std::set<T> set_union(const std::set<T>& a, const std::set<T>& b)
{
    std::set<T> r(a);
    for (typename std::set<T>::const_iterator i = b.begin(); i != b.end(); ++i) r.insert(r.end(), *i);
    return r;
}

// "(" elements joined by ", " ")", flushing after every element and after ")".
template <class T> std::ostream& operator<<(std::ostream& os, const std::list<T>& l)
{
    return list_templates_detail::print_joined(os, l, "(", ", ", ")", true);
}

// "{" elements in ascending order joined by "," "}", no flush.
template <class T> std::ostream& operator<<(std::ostream& os, const std::set<T>& s)
{
    return list_templates_detail::print_joined(os, s, "{", ",", "}", false);
}

#endif
