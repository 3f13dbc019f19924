// Node-network emitters: straight-line code of every target, one assignment per shared node.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "bdd/bdd_naming.h"
#include "bdd/bddpp.h"
#include "utils/Stringpp.h"
#include "utils/text_pieces.h"
#include "utils/text_room.h"

namespace {

constexpr std::string_view three_blanks = "   "; // start of the terminal node's line
constexpr std::string_view two_blanks = "  ";    // start of the other lines

enum node_kind { terminal_node, variable_node, decision_node };

node_kind kind_of(const bdd_node* n)
{
    if (n->var < 0) return terminal_node;
    const bdd_node* t = n->owner()->terminal;
    if (n->then_node == t && n->else_node == t && n->else_link == -1) return variable_node;
    return decision_node;
}

// Hands every unmarked node below root to write, children first (the then subtree before
// the else subtree), marking each when it is reached; a variable node's children are not
// visited. The stack stands for the recursion, so deep graphs cannot exhaust the call stack.
template <class Write> void emit_network(bdd_node* root, Write write)
{
    // one stack for every network: the emitters run one after the other, never one inside another
    static std::vector<std::pair<bdd_node*, bool>> todo; // true: children written
    todo.clear();
    todo.emplace_back(root, false);
    while (!todo.empty()) {
        std::pair<bdd_node*, bool> top = todo.back();
        todo.pop_back();
        bdd_node* n = top.first;
        if (top.second) {
            write(n, decision_node);
            continue;
        }
        if (!n || n->mark) continue;
        n->mark = 1;
        node_kind k = kind_of(n);
        if (k != decision_node) {
            write(n, k);
            continue;
        }
        todo.emplace_back(n, true);
        todo.emplace_back(n->else_node, false);
        todo.emplace_back(n->then_node, false);
    }
}

// Appends the decimal digits of k.
void append_number(text_room& text, long k)
{
    char* digits = text.room(24);
    text.keep(std::to_chars(digits, digits + 24, k).ptr);
}

// The vocabulary of the assignment emitters.
struct eval_words {
    std::string_view OR;      // between the two products
    std::string_view AND;     // between a variable and a child
    std::string_view NOTpre;  // before a negated operand
    std::string_view NOTpost; // after a negated operand
    std::string_view VARpre;  // before a variable's name
    std::string_view VARsuf;  // after a variable's name
    std::string_view FALSE;   // the constant false
    std::string_view END;     // end of an assignment
    std::string_view first;   // start of the terminal node's line
    std::string_view lead;    // start of the other lines
    std::string_view ARR;     // node array, or stem of the node signals
    bool arrayless;           // nodes are signals ARR_n instead of elements ARR[n]
    const bdd_naming* naming; // written names and operands; null: VARpre name VARsuf

    // The operand of the variable id: a verbatim read of the naming (then true), or VARpre, the
    // name and VARsuf.
    std::pair<const std::string*, bool> operand(const bddpp_manager* m, long id) const
    {
        return naming ? naming->operand_parts(id) : std::make_pair(&m->names[id], false);
    }
};

// A line under construction in a buffer with room for it, written piece by piece without any
// check of the room.
struct line_writer {
    char* p; // the end of what is written

    void put(std::string_view s) { p = text_pieces::put(p, s); }
    template <std::size_t N> void put(const char (&literal)[N])
    {
        std::memcpy(p, literal, N - 1);
        p += N - 1;
    }
    void put(char c) { *p++ = c; }
    void put_number(long k) { p = std::to_chars(p, p + 24, k).ptr; }
};

// The room of the networks written to a stream: each network is made in it and written at once;
// its room is kept from one network to the next (the networks are written one at a time).
text_room& network_room()
{
    static text_room room;
    return room;
}

// Each line is made in text, at its end.
void eval_network(bddpp_manager* m, const eval_words& w, text_room& text, bdd_node* root)
{
    // the longest line but its operand: the node references, with their numbers, and the words
    const std::size_t ref = w.ARR.size() + 26;
    const std::size_t words = std::max(w.first.size(), w.lead.size()) + 2 + w.AND.size() * 2 + w.OR.size() +
                              w.NOTpre.size() * 2 + w.NOTpost.size() * 2 + w.FALSE.size() + w.END.size() + 1;
    const std::size_t around = w.VARpre.size() + w.VARsuf.size();
    emit_network(root, [&](bdd_node* n, node_kind k) {
        std::pair<const std::string*, bool> x(nullptr, true);
        if (k != terminal_node) x = w.operand(m, n->var);
        const std::size_t x_size = x.first ? x.first->size() + (x.second ? 0 : around) : 0;
        line_writer line{text.room(3 * ref + words + 2 * x_size)};
        auto put_operand = [&] {
            if (!x.second) line.put(w.VARpre);
            line.put(*x.first);
            if (!x.second) line.put(w.VARsuf);
        };
        auto put_ref = [&](long number) {
            line.put(w.ARR);
            line.put(w.arrayless ? '_' : '[');
            line.put_number(number);
            if (!w.arrayless) line.put(']');
        };
        if (k == terminal_node) {
            line.put(w.first);
            put_ref(n->number);
            line.put('=');
            line.put(' ');
            line.put(w.NOTpre);
            line.put(w.FALSE);
            line.put(w.NOTpost);
        } else {
            line.put(w.lead);
            put_ref(n->number);
            line.put('=');
            line.put(' ');
            put_operand();
            if (k == decision_node) {
                line.put(w.AND);
                put_ref(n->then_node->number);
                line.put(w.OR);
                line.put(w.NOTpre);
                put_operand();
                line.put(w.NOTpost);
                line.put(w.AND);
                if (n->else_link != 1) line.put(w.NOTpre);
                put_ref(n->else_node->number);
                if (n->else_link != 1) line.put(w.NOTpost);
            }
        }
        line.put(w.END);
        line.put('\n');
        text.keep(line.p);
    });
}

// The network made in the room of the networks and written to os at once.
void eval_network(bddpp_manager* m, const eval_words& w, std::ostream& os, bdd_node* root)
{
    text_room& text = network_room();
    text.clear();
    eval_network(m, w, text, root);
    text.write_to(os);
}

} // namespace

// ---- assignments of a node array or of node signals ----

void bddpp_manager::Print_node_for_eval(std::string_view OR, std::string_view AND, std::string_view NOTpre,
                                        std::string_view NOTpost, std::string_view VARpre, std::string_view VARsuf,
                                        std::string_view FALSE, std::string_view END, std::string_view ARR,
                                        std::ostream& os, bdd_node* n, const bdd_naming* naming)
{
    eval_words w{OR, AND, NOTpre, NOTpost, VARpre, VARsuf, FALSE, END, three_blanks, two_blanks, ARR, false, naming};
    eval_network(this, w, os, n);
}

void bddpp_manager::Print_node_for_eval(std::string_view OR, std::string_view AND, std::string_view NOTpre,
                                        std::string_view NOTpost, std::string_view VARpre, std::string_view VARsuf,
                                        std::string_view FALSE, std::string_view END, std::string_view PREFIX,
                                        std::string_view ARR, std::ostream& os, bdd_node* n,
                                        const bdd_naming* naming)
{
    eval_words w{OR, AND, NOTpre, NOTpost, VARpre, VARsuf, FALSE, END, PREFIX, PREFIX, ARR, false, naming};
    eval_network(this, w, os, n);
}

void bddpp_manager::Print_node_for_eval_arrayless(std::string_view OR, std::string_view AND, std::string_view NOTpre,
                                                  std::string_view NOTpost, std::string_view VARpre,
                                                  std::string_view VARsuf, std::string_view FALSE,
                                                  std::string_view END, std::string_view ARR, std::ostream& os,
                                                  bdd_node* n)
{
    eval_words w{OR, AND, NOTpre, NOTpost, VARpre, VARsuf, FALSE, END, three_blanks, two_blanks, ARR, true, nullptr};
    eval_network(this, w, os, n);
}

void bddpp_manager::Print_node_for_eval_arrayless(std::string_view OR, std::string_view AND, std::string_view NOTpre,
                                                  std::string_view NOTpost, std::string_view VARpre,
                                                  std::string_view VARsuf, std::string_view FALSE,
                                                  std::string_view END, std::string_view PREFIX,
                                                  std::string_view ARR, std::ostream& os, bdd_node* n)
{
    eval_words w{OR, AND, NOTpre, NOTpost, VARpre, VARsuf, FALSE, END, PREFIX, PREFIX, ARR, true, nullptr};
    eval_network(this, w, os, n);
}

void bddpp_manager::Append_node_for_eval(text_room& text, std::string_view OR, std::string_view AND,
                                         std::string_view NOTpre, std::string_view NOTpost, std::string_view VARpre,
                                         std::string_view VARsuf, std::string_view FALSE, std::string_view END,
                                         const std::string_view* PREFIX, std::string_view ARR, bool arrayless,
                                         bdd_node* n, const bdd_naming* naming)
{
    // without a prefix, the terminal's line starts with three blanks and the others with two
    eval_words w{OR,     AND,    NOTpre, NOTpost, VARpre, VARsuf, FALSE, END, PREFIX ? *PREFIX : three_blanks,
                 PREFIX ? *PREFIX : two_blanks, ARR, arrayless, naming};
    eval_network(this, w, text, n);
}

// ---- the plain-text, VHDL and BLIF networks ----

void bddpp_manager::Append_node_for_eval_NUSMV(text_room& text, std::string_view VARpre, std::string_view VARsuf,
                                               std::string_view PREFIX, std::string_view ARR, bdd_node* root)
{
    static std::string x; // the operand; its room is kept from one line to the next
    emit_network(root, [&](bdd_node* n, node_kind k) {
        text += PREFIX;
        text += ARR;
        text += '_';
        append_number(text, n->number);
        text += ":= ";
        if (k == terminal_node) {
            text += "TRUE;\n";
        } else {
            x.clear();
            x += VARpre;
            x += names[n->var];
            x += VARsuf;
            text += x;
            if (k == decision_node) {
                text += " & ";
                text += ARR;
                text += '_';
                append_number(text, n->then_node->number);
                text += " | !";
                text += x;
                text += " & ";
                if (n->else_link == -1) text += '!';
                text += ARR;
                text += '_';
                append_number(text, n->else_node->number);
            }
            text += ";\n";
        }
    });
}

void bddpp_manager::Print_node_for_eval_NUSMV(std::string_view VARpre, std::string_view VARsuf,
                                              std::string_view PREFIX, std::string_view ARR, std::ostream& os,
                                              bdd_node* root)
{
    text_room& text = network_room();
    text.clear();
    Append_node_for_eval_NUSMV(text, VARpre, VARsuf, PREFIX, ARR, root);
    text.write_to(os);
}

void bddpp_manager::Append_node_for_eval_VHDL(text_room& text, std::string_view ARR, bdd_node* root)
{
    // a variable's signal is the element of its variable node, loaded from the input; each line
    // is made at the end of text, with room for five elements and the words
    const std::size_t room = 5 * (ARR.size() + 24) + 64;
    emit_network(root, [&](bdd_node* n, node_kind k) {
        if (k == variable_node) return;
        line_writer line{text.room(room)};
        auto put_element = [&](long number) {
            line.put(ARR);
            line.put('(');
            line.put_number(number);
            line.put(')');
        };
        line.put("      ");
        put_element(n->number);
        line.put(" <= ");
        if (k == terminal_node) {
            line.put("'1';\n");
        } else {
            const long v = var_nodes[n->var]->number;
            line.put('(');
            put_element(v);
            line.put(" and ");
            put_element(n->then_node->number);
            line.put(") or (not ");
            put_element(v);
            line.put(" and ");
            if (n->else_link == -1) line.put("not ");
            put_element(n->else_node->number);
            line.put(");\n");
        }
        text.keep(line.p);
    });
}

void bddpp_manager::Print_node_for_eval_VHDL(std::string_view ARR, std::ostream& os, bdd_node* root)
{
    text_room& text = network_room();
    text.clear();
    Append_node_for_eval_VHDL(text, ARR, root);
    text.write_to(os);
}

void bddpp_manager::Print_node_for_eval_BLIF(const std::string& VARpre, const std::string& VARsuf,
                                             const std::string& ARR, std::ostream& os, bdd_node* root)
{
    emit_network(root, [&](bdd_node* n, node_kind k) {
        const std::string self = ARR + "_" + std::to_string(n->number);
        if (k == terminal_node) {
            os << ".names " << self << "\n1\n\n";
            return;
        }
        const std::string x = VARpre + names[n->var] + VARsuf;
        if (k == variable_node) {
            os << ".names " << x << " " << self << "\n1 1\n\n";
            return;
        }
        os << ".names " << x << " " << ARR << "_" << n->then_node->number << " " << ARR << "_"
           << n->else_node->number << " " << self << "\n11- 1\n0-" << (n->else_link == 1 ? "1" : "0")
           << " 1\n\n";
    });
}

// ---- VHDL inputs ----

namespace {

// For every name of NAMES in turn, visit(NAME, node) on each variable node of a variable called
// NAME (written NAME with a naming), in id order; nothing without a unique table. The variables
// are grouped by name once for all the names.
template <class Visit>
void for_each_input_node_of(bddpp_manager* m, const std::list<std::string>& NAMES, const bdd_naming* naming,
                            Visit visit)
{
    if (!m->unique_table || NAMES.empty()) return;
    std::unordered_map<std::string_view, std::vector<long>> ids;
    ids.reserve(NAMES.size());
    for (const std::string& n : NAMES) ids.emplace(n, std::vector<long>());
    for (long id = 0; id < m->nvars; ++id) {
        auto i = ids.find(naming ? naming->name(id) : m->names[id]);
        if (i != ids.end()) i->second.push_back(id);
    }
    for (const std::string& n : NAMES)
        for (long id : ids.find(n)->second) visit(n, m->var_nodes[id]);
}

} // namespace

void bddpp_manager::Print_nodes_for_eval_VHDL_reset_inputs(const std::string& ARR, std::ostream& os,
                                                           const std::list<std::string>& NAMES,
                                                           const bdd_naming* naming)
{
    for_each_input_node_of(this, NAMES, naming, [&](const std::string&, bdd_node* v) {
        os << "      " << ARR << "(" << v->number << ") <= '0';\n";
    });
}

void bddpp_manager::Print_nodes_for_eval_VHDL_inputs(const std::string& PRE, const std::string& SUF,
                                                     const std::string& ARR, std::ostream& os,
                                                     const std::list<std::string>& NAMES, const bdd_naming* naming)
{
    for_each_input_node_of(this, NAMES, naming, [&](const std::string& NAME, bdd_node* v) {
        v->mark = 1; // loaded here: the network emitter leaves it alone
        os << "      " << ARR << "(" << v->number << ") <= " << PRE << NAME << SUF << ";\n";
    });
}

void bddpp_manager::Print_node_for_eval_VHDL_reset_input(const std::string& ARR, std::ostream& os,
                                                         const std::string& NAME,
                                                         const bdd_naming* naming)
{
    Print_nodes_for_eval_VHDL_reset_inputs(ARR, os, std::list<std::string>(1, NAME), naming);
}

void bddpp_manager::Print_node_for_eval_VHDL_input(const std::string& PRE, const std::string& SUF,
                                                   const std::string& ARR, std::ostream& os,
                                                   const std::string& NAME,
                                                   const bdd_naming* naming)
{
    Print_nodes_for_eval_VHDL_inputs(PRE, SUF, ARR, os, std::list<std::string>(1, NAME), naming);
}

// ---- node use and node names ----

void bdd_node::Lustre_writing_node_used(int* used, bdd_node*)
{
    std::vector<bdd_node*> todo(1, this);
    while (!todo.empty()) {
        bdd_node* n = todo.back();
        todo.pop_back();
        if (!n || n->mark) continue;
        n->mark = 1; // a node is never below itself, so marking on the way down is the same
        used[n->number] = 1;
        if (n->var < 0) continue;
        todo.push_back(n->else_node);
        todo.push_back(n->then_node);
    }
}

std::string bdd::vhdl_node_name(const std::string& ARR) const
{
    return (link == -1 ? "not " : "") + ARR + "(" + unslong2S(node_ptr ? node_ptr->number : 0) + ")";
}
