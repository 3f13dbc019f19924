// One .names cover and its conversion into an equation of the forest.
#include <iostream>
#include <vector>

#include "blif/blif_parser.h"

class_equation_blif::class_equation_blif()
{
}

class_equation_blif::class_equation_blif(const class_equation_blif& e) : vars(e.vars), pla(e.pla)
{
}

class_equation_blif::~class_equation_blif()
{
}

void class_equation_blif::add_vars(const std::list<std::string>& l)
{
    if (&l != &vars) vars = l;
}

void class_equation_blif::add_pla(const std::list<std::list<int>>& l)
{
    if (&l != &pla) pla = l;
}

std::list<std::string>& class_equation_blif::my_vars()
{
    return vars;
}

Bddexpression* class_equation_blif::bddexpression_convert(Bddexpressionwood* wood)
{
    bddpp_manager* m = wood->manager;
    std::vector<bdd> literals;
    literals.reserve(vars.size());
    for (const std::string& v : vars) literals.push_back(m->Bdd_var_by_name(v));
    return blif_cover_convert(wood, literals, vars.back(), pla);
}

namespace {

// One row of a flat cover, as a range of values.
struct flat_row {
    const int* first;
    const int* last;
    size_t size() const { return static_cast<size_t>(last - first); }
    const int* begin() const { return first; }
    const int* end() const { return last; }
    int back() const { return last[-1]; }
};

// The rows of a flat cover in their order.
class flat_rows {
public:
    explicit flat_rows(const blif_cover& c) : c_(c) {}

    class iterator {
    public:
        iterator(const blif_cover& c, size_t i) : c_(c), i_(i) {}
        flat_row operator*() const
        {
            const int* first = c_.values + c_.starts[i_];
            const int* last = c_.values + (i_ + 1 < c_.rows ? c_.starts[i_ + 1] : c_.total);
            return flat_row{first, last};
        }
        iterator& operator++()
        {
            ++i_;
            return *this;
        }
        bool operator!=(const iterator& o) const { return i_ != o.i_; }

    private:
        const blif_cover& c_;
        size_t i_;
    };

    iterator begin() const { return iterator(c_, 0); }
    iterator end() const { return iterator(c_, c_.rows); }

private:
    const blif_cover& c_;
};

} // namespace

// The rows are lists or vectors of values, or the rows of a flat cover.
template <class Rows>
static Bddexpression* convert_rows(Bddexpressionwood* wood, const std::vector<bdd>& vars, const std::string& defined,
                                   const Rows& rows)
{
    bddpp_manager* m = wood->manager;
    const size_t n = vars.size(); // the inputs x1 .. x(n-1), then the defined signal
    // The first literal of a row is its cube so far and the first cube the sum so far: the
    // conjunction with 1 and the disjunction with 0 that they stand for make no node.
    bdd sum;
    bool on_rows = false;  // a row of output 1 ("1", "-" or no output value)
    bool off_rows = false; // a row of output 0
    for (const auto& row : rows) {
        if (row.size() > n) {
            std::cerr << "error in blif definition about " << defined << " variable" << std::endl;
            blif_exit(1);
        }
        bdd cube;
        size_t i = 0;
        for (auto value = row.begin(); value != row.end() && i + 1 < n; ++value, ++i) {
            if (*value != 0 && *value != 1) continue; // "-"
            bdd literal = *value == 0 ? m->Bdd_not(vars[i]) : vars[i];
            if (cube.manager == nullptr) cube = literal;
            else cube = m->Bdd_and(cube, literal);
        }
        if (cube.manager == nullptr) cube = m->Bdd_one();
        if (row.size() == n && row.back() == 0) off_rows = true;
        else on_rows = true;
        if (sum.manager == nullptr) sum = cube;
        else sum = m->Bdd_or(sum, cube);
    }
    if (sum.manager == nullptr) sum = m->Bdd_zero();
    if (on_rows && off_rows) {
        // such a cover has no meaning: the ON-set and the OFF-set would overlap or leave a gap
        std::cerr << "error in blif definition about " << defined
                  << " variable: rows of output 0 and rows of output 1 in one cover" << std::endl;
        blif_exit(1);
    }
    bdd f = off_rows ? m->Bdd_not(sum) : sum;
    return new Bddexpression(defined, wood, vars.back(), f, 0, 0);
}

Bddexpression* blif_cover_convert(Bddexpressionwood* wood, const std::vector<bdd>& vars, const std::string& defined,
                                  const std::list<std::list<int>>& rows)
{
    return convert_rows(wood, vars, defined, rows);
}

Bddexpression* blif_cover_convert(Bddexpressionwood* wood, const std::vector<bdd>& vars, const std::string& defined,
                                  const std::vector<std::vector<int>>& rows)
{
    return convert_rows(wood, vars, defined, rows);
}

Bddexpression* blif_cover_convert(Bddexpressionwood* wood, const std::vector<bdd>& vars, const std::string& defined,
                                  const blif_cover& rows)
{
    return convert_rows(wood, vars, defined, flat_rows(rows));
}
