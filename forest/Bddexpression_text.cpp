// Debug texts of an equation and of a forest: stream output, statistics, reader-set check, self-dependence report.
#include "forest/Bddexpression.h"

#include <iostream>
#include <sstream>
#include <vector>

#include "utils/Stringpp.h"
#include "utils/list_long.h"

// Sum of products of f in the debug notation.
static std::string sop(bddpp_manager* m, const bdd& f)
{
    return m->Print_sop_to_String(" + ", " * ", "!", "", f, 1);
}

// Everything after the "<name> " part; numbers unsigned for debug_in_string, signed for the stream.
static std::string equation_body(const Bddexpression& e, bool unsigned_numbers)
{
    std::ostringstream os;
    if (e.wood == nullptr) {
        if (e.abstraction != 0) os << "- = " << e.exp_def << "()";
        return os.str();
    }
    os << (e.bdd_var.manager == nullptr ? std::string("-") : e.wood->manager->Name_var_by_bdd(e.bdd_var)) << " = ";
    if (e.bdd_exp.manager != nullptr) {
        os << sop(e.wood->manager, e.bdd_exp);
        if (e.abstraction != 0) os << "warning ABSTRACTION by " << e.exp_def << "()!";
    } else if (e.abstraction != 0) {
        os << e.exp_def << "()";
    } else {
        os << "--";
    }
    if (unsigned_numbers)
        os << "  weight: " << unslong2S(e.weight) << " usertype: " << unslong2S(e.user_type);
    else
        os << "  weight: " << e.weight << " usertype: " << e.user_type;
    return os.str();
}

std::ostream& operator<<(std::ostream& os, const Bddexpression& e)
{
    os << "(" << static_cast<const void*>(&e) << ") <" << e.name << "> " << "[type:" << e.user_type << "]"
       << equation_body(e, false);
    return os;
}

std::string Bddexpression::debug_in_string()
{
    return "<" + name + "> " + equation_body(*this, true);
}

void Bddexpressionwood::coherence_dependances_check(std::ostream& os) const
{
    std::vector<std::set<long>> computed(nb_bdd_vars);
    for (long i = 0; i < nb_bdd_vars; i++)
        if (exp_table[i] != nullptr)
            for (long d : exp_table[i]->dependances)
                if (d >= 0 && d < nb_bdd_vars) computed[d].insert(i);
    for (long c = 0; c < nb_bdd_vars; c++)
        if (computed[c] != readers[c])
            os << "incoherence sur table des amonts pour la variable " << c << ": calcule: " << computed[c]
               << " trouve" << readers[c] << '\n';
}

// Positions whose date (early when early is set, else late) is each level 0 .. levels - 1, each followed by a blank.
static std::vector<std::string> positions_by_level(const Bddexpressionwood& w, bool early)
{
    std::vector<std::string> lines(w.nb_level < 0 ? 0 : w.nb_level + 1);
    for (long j = 0; j < w.nb_bdd_vars; j++) {
        if (w.exp_table[j] == nullptr) continue;
        long d = early ? w.exp_table[j]->early_date : w.exp_table[j]->getLateDate();
        if (d >= 0 && d < static_cast<long>(lines.size())) lines[d] += std::to_string(j) + " ";
    }
    return lines;
}

static void put_positions(std::ostream& os, const std::list<long>& l)
{
    for (long i : l) os << i << " ";
    os << '\n' << '\n';
}

void Bddexpressionwood::stat(std::ostream& os) const
{
    os << "wood Bddexpression statistics:" << '\n'
       << "  - adress: " << static_cast<const void*>(this) << '\n'
       << "  - bbd variables number of the bdd manager: " << manager->nvars << '\n'
       << "  - variables number used : " << nb_bdd_vars << '\n';
    if (manager->nvars != nb_bdd_vars) os << "INTERNAL ERROR: bdd variables number doesn't corresponding !!!" << '\n';
    os << "  - arrays's length  : " << arrays_length << '\n'
       << "  - expression ids set " << expression_ids << '\n'
       << "  - nb levels " << nb_level << '\n';
    std::vector<std::string> early = positions_by_level(*this, true);
    std::vector<std::string> late = positions_by_level(*this, false);
    for (size_t d = 0; d < early.size(); d++)
        os << "      level: " << d << '\n'
           << "        early date: " << early[d] << '\n'
           << "        late date: " << late[d] << '\n';
    os << '\n' << "   earliest date sorting:" << '\n';
    put_positions(os, earliest_sort());
    os << "   latest date sorting:" << '\n';
    put_positions(os, latest_sort());
}

std::ostream& operator<<(std::ostream& os, const Bddexpressionwood& w)
{
    w.stat(os);
    os << "Equations list:" << '\n';
    for (long i = 0; i < w.nb_bdd_vars; i++) {
        os << i << ": ";
        const Bddexpression* e = w.exp_table[i];
        if (e != nullptr)
            os << *e << " dates (" << e->early_date << "," << e->getLateDate() << ")" << " from vars "
               << e->dependances;
        else
            os << w.manager->Name_var_by_index(i) << " = - dates (0," << w.late_dates[i] << ")";
        os << "  to vars " << w.readers[i] << '\n';
    }
    return os;
}

void Bddexpressionwood::self_dependance_report(long b, const Bddexpression& e) const
{
    std::cerr << "ERROR: detected self-dependance about variable : " << b << " !!!" << std::endl
              << "in associated expression: " << e << std::endl << std::endl
              << "in associated wood:" << std::endl << *this << std::endl;
}

void Bddexpressionwood::self_dependance_exit(long b, const Bddexpression& e) const
{
    self_dependance_report(b, e);
    bdd_exit(1);
}
