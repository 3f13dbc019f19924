// Sum-of-products text of a function in any syntax, and its PLA, BLIF and LEC tables.
#include <iostream>
#include <string>
#include <string_view>

#include "bdd/bdd_naming.h"
#include "bdd/bddpp.h"
#include "bdd/bddpp_literals.h"
#include "bdd/sop_style.h"
#include "utils/text_pieces.h"
#include "utils/text_room.h"

namespace {

// How the variable of a literal is written, from its order position: PRE name SUF (the
// naming's operand when there is one), or PRE "[" position "]" when indexed (PRE then holds the
// array name).
struct literal_text {
    bddpp_manager* m;         // manager of the names
    std::string_view PRE;     // before each name, or the array name
    std::string_view SUF;     // after each name
    bool indexed;             // array-indexed literals
    const bdd_naming* naming; // written names; null: the manager's

    // The indexed literal of position p (the named ones are measured and copied in whole by
    // sop_cover_text).
    template <class Text> void append_indexed(Text& s, long p) const
    {
        s += PRE;
        s += '[';
        s += std::to_string(p);
        s += ']';
    }
};

// The words of a sum.
struct sop_words {
    std::string_view OR;      // between products
    std::string_view AND;     // between literals
    std::string_view NOTpre;  // before a negative literal
    std::string_view NOTpost; // after it
};

// Room for n more characters at the end of a text, and the end of what was written there.
char* room_at_end(std::string& s, std::size_t n)
{
    const std::size_t at = s.size();
    s.resize(at + n);
    return &s[at];
}
void keep_to(std::string&, char*) {} // the room was measured exactly
char* room_at_end(text_room& s, std::size_t n) { return s.room(n); }
void keep_to(text_room& s, char* end) { s.keep(end); }

// The texts of the sums of one style (words, PRE, SUF and written names) made while a scope of
// covers lives: most writers write the same sums in the same words, the later ones copy them.
// The style is the first one asked for in the scope; a sum is found by the first cube of its
// cover, which no other kept cover shares.
class sop_text_memo {
public:
    // The memo of the scope, made empty when it was another scope's.
    static sop_text_memo& of(const cover_memo_scope* scope)
    {
        sop_text_memo& memo = the_memo();
        if (memo.scope != scope) {
            memo.clear();
            memo.scope = scope;
        }
        return memo;
    }
    // Drops every text and the style, with their room, when the memo is the scope's.
    static void forget(const cover_memo_scope* scope)
    {
        sop_text_memo& memo = the_memo();
        if (memo.scope == scope) memo.clear();
    }

    // Whether the sums of this style are kept; the first style asked for becomes the kept one.
    bool keeps(const sop_words& w, const literal_text& var)
    {
        if (var.indexed) return false;
        const std::string_view given[6] = {w.OR, w.AND, w.NOTpre, w.NOTpost, var.PRE, var.SUF};
        if (!styled) {
            if (!renamed_of(var.naming, names)) return false;
            for (int k = 0; k < 6; ++k) words[k] = given[k];
            styled = true;
            return true;
        }
        for (int k = 0; k < 6; ++k)
            if (given[k] != words[k]) return false;
        return renamed_of(var.naming, spare) && spare == names;
    }
    // The kept text of the sum whose cover begins at cube first, null when none.
    const std::string_view* find(std::size_t first)
    {
        if (!styled || first >= entry_of.size() || entry_of[first] == 0) return nullptr;
        const std::size_t e = entry_of[first] - 1;
        found = std::string_view(texts.data() + starts[e], starts[e + 1] - starts[e]);
        return &found;
    }
    // Keeps text as the sum whose cover begins at cube first, while the kept texts stay within
    // their room: on a very large circuit the later sums are made again, so that the texts do not
    // add to the run's memory more than that room. 64 MiB holds the sums of about three million
    // two-input gates, beyond the largest netlists read in one piece.
    void keep(std::size_t first, std::string_view text)
    {
        constexpr std::size_t most = std::size_t(1) << 26; // the room of the kept texts
        // a memo cleared since the style asked keeps nothing: its next style may be another one
        if (!styled || texts.size() + text.size() > most || first >= most / 4) return;
        if (entry_of.size() <= first) entry_of.resize(first + 1 + first / 2, 0);
        if (starts.empty()) {
            starts.push_back(0);
            texts.reserve(most); // the pages are only taken as the texts fill them
        }
        texts.append(text.data(), text.size());
        starts.push_back(static_cast<std::uint32_t>(texts.size()));
        entry_of[first] = static_cast<std::uint32_t>(starts.size() - 1);
    }

private:
    // The written names of a naming that differ from the manager's; false when it cannot be
    // kept (a verbatim operand, or a naming made for fewer variables).
    static bool renamed_of(const bdd_naming* naming, std::vector<std::pair<long, std::string>>& names)
    {
        names.clear();
        return naming == nullptr || naming->renamed(names);
    }
    // One memo for every scope: the innermost scope asking for texts has it.
    static sop_text_memo& the_memo()
    {
        static sop_text_memo memo;
        return memo;
    }
    void clear()
    {
        const unsigned long long was = generation;
        *this = sop_text_memo();
        generation = was + 1;
    }

public:
    unsigned long long generation = 0; // one more at every clearing: the style may be another one

private:
    const cover_memo_scope* scope = nullptr;
    bool styled = false;                                 // whether the style is chosen
    std::string words[6];                                // OR, AND, NOTpre, NOTpost, PRE, SUF of the style
    std::vector<std::pair<long, std::string>> names;     // the style's names that differ from the manager's
    std::vector<std::pair<long, std::string>> spare;     // another naming's, while compared
    std::vector<std::uint32_t> entry_of;                 // by first cube: 1 + the index of its text, 0 for none
    std::vector<std::uint32_t> starts;                   // where each text begins, then the end of the last
    std::string texts;                                   // the kept texts one after the other
    std::string_view found;                              // the text found last
};

template <class Text>
void sop_cover_text(Text& s, bddpp_manager* m, const sop_words& w, cover_memo_scope* memo, std::size_t first,
                    std::size_t count, const literal_text& var);

// The cover of the kind, its products joined by OR, each the literals in ascending order
// position joined by AND; "1" for the empty cube, "0" for an empty cover. The cover kept by a
// living scope of the manager when there is one, and its text when the scope keeps it.
// The text is appended to s.
// With kept, the text of the sum is copied from the memo of memo's texts when it holds it, and
// kept there when it does not.
template <class Text>
void sop_text(Text& s, bddpp_manager* m, const sop_words& w, const bdd& f, int kind,
              const literal_text& var, cover_memo_scope* memo, bool kept)
{
    std::size_t first = 0, count = 0;
    memo->cover(f, kind, first, count);
    if (count == 0) {
        s += '0';
        return;
    }
    sop_text_memo* texts = kept ? &sop_text_memo::of(memo) : nullptr;
    if (texts) {
        if (const std::string_view* t = texts->find(first)) {
            s += *t;
            return;
        }
    }
    const std::size_t at = s.size();
    sop_cover_text(s, m, w, memo, first, count, var);
    if (texts) texts->keep(first, std::string_view(s.data() + at, s.size() - at));
}

template <class Text>
void sop_text(Text& s, bddpp_manager* m, const sop_words& w, const bdd& f, int kind,
              const literal_text& var)
{
    cover_memo_scope* memo = cover_memo_scope::of(m);
    if (!memo) {
        cover_memo_scope own(m);
        sop_text(s, m, w, f, kind, var, &own, false);
        return;
    }
    sop_text(s, m, w, f, kind, var, memo, false);
}

// The text of the cubes first to first + count - 1 of the scope, at least one, appended to s.
template <class Text>
void sop_cover_text(Text& s, bddpp_manager* m, const sop_words& w, cover_memo_scope* memo, std::size_t first,
                    std::size_t count, const literal_text& var)
{
    const std::vector<std::uint32_t>& lits = memo->literals();
    const std::vector<std::uint32_t>& ends = memo->cube_ends();
    const std::size_t from = first == 0 ? 0 : ends[first - 1], to = ends[first + count - 1];
    if (var.indexed) {
        std::size_t k = from;
        for (std::size_t c = first; c < first + count; ++c) {
            if (c > first) s += w.OR;
            const std::size_t end = ends[c];
            if (k == end) s += '1';
            for (std::size_t start = k; k < end; ++k) {
                if (k > start) s += w.AND;
                const long p = static_cast<long>(lits[k] >> 1);
                if (lits[k] & 1) {
                    var.append_indexed(s, p);
                } else {
                    s += w.NOTpre;
                    var.append_indexed(s, p);
                    s += w.NOTpost;
                }
            }
        }
        return;
    }
    // The operand of each literal is found and the length of the whole sum measured first; the
    // sum is then copied piece by piece into the room made for it at once. An operand is PRE, a
    // name and SUF, or a verbatim read of the naming (the flag).
    static std::vector<std::pair<const std::string*, bool>> operands; // room kept from one sum to the next
    if (operands.size() < to - from) operands.resize(2 * (to - from));
    static const std::string no_name;
    std::size_t length = (count - 1) * w.OR.size();
    for (std::size_t c = first, k = from; c < first + count; k = ends[c], ++c)
        length += ends[c] == k ? 1 : (ends[c] - k - 1) * w.AND.size();
    const std::size_t around = var.PRE.size() + var.SUF.size(), negation = w.NOTpre.size() + w.NOTpost.size();
    for (std::size_t k = from; k < to; ++k) {
        const long p = static_cast<long>(lits[k] >> 1);
        const long id = p < m->nvars ? m->pos_to_id[p] : -1;
        const std::pair<const std::string*, bool> o =
            var.naming ? var.naming->operand_parts(id) : std::make_pair(id >= 0 ? &m->names[id] : &no_name, false);
        operands[k - from] = o;
        length += o.first->size() + (o.second ? 0 : around) + (lits[k] & 1 ? 0 : negation);
    }
    char* out = room_at_end(s, length);
    for (std::size_t c = first, k = from; c < first + count; ++c) {
        if (c > first) out = text_pieces::put(out, w.OR);
        const std::size_t end = ends[c];
        if (k == end) *out++ = '1';
        for (std::size_t start = k; k < end; ++k) {
            if (k > start) out = text_pieces::put(out, w.AND);
            const bool negative = !(lits[k] & 1);
            if (negative) out = text_pieces::put(out, w.NOTpre);
            const std::pair<const std::string*, bool>& o = operands[k - from];
            if (!o.second) out = text_pieces::put(out, var.PRE);
            out = text_pieces::put(out, *o.first);
            if (!o.second) out = text_pieces::put(out, var.SUF);
            if (negative) out = text_pieces::put(out, w.NOTpost);
        }
    }
    keep_to(s, out);
}

// The text of a sum while it is made: one buffer for every sum, whose room is kept from one to
// the next (the sums are made one at a time).
std::string& sop_buffer()
{
    static std::string buffer;
    return buffer;
}

// The sum written to os at once from the buffer of the sums.
void put_sop(std::ostream& os, bddpp_manager* m, const sop_words& w, const bdd& f, int kind,
             const literal_text& var)
{
    std::string& s = sop_buffer();
    s.clear();
    sop_text(s, m, w, f, kind, var);
    os.write(s.data(), std::streamsize(s.size()));
}

cover_memo_scope* innermost_memo = nullptr; // the scope that began last and still lives

} // namespace

// ---- sums of products ----

std::string bddpp_manager::Print_sop_to_String_pref_suff(const char* OR, const char* AND,
                                                         const char* NOTpre, const char* NOTpost,
                                                         const bdd& f, const char* PRE,
                                                         const char* SUF, int kind,
                                                         const bdd_naming* naming)
{
    std::string& s = sop_buffer();
    s.clear();
    sop_text(s, this, sop_words{OR, AND, NOTpre, NOTpost}, f, kind, literal_text{this, PRE, SUF, false, naming});
    return s;
}

void bddpp_manager::Append_sop(text_room& text, std::string_view OR, std::string_view AND,
                               std::string_view NOTpre, std::string_view NOTpost, const bdd& f,
                               std::string_view PRE, std::string_view SUF, int kind,
                               const bdd_naming* naming)
{
    sop_text(text, this, sop_words{OR, AND, NOTpre, NOTpost}, f, kind, literal_text{this, PRE, SUF, false, naming});
}

std::string bddpp_manager::Print_sop_to_String(const char* OR, const char* AND, const char* NOTpre,
                                               const char* NOTpost, const bdd& f, int kind)
{
    return Print_sop_to_String_pref_suff(OR, AND, NOTpre, NOTpost, f, "", "", kind);
}

void bddpp_manager::Print_sop(const char* OR, const char* AND, const char* NOTpre,
                              const char* NOTpost, std::ostream& os, const bdd& f, int kind,
                              const bdd_naming* naming)
{
    put_sop(os, this, sop_words{OR, AND, NOTpre, NOTpost}, f, kind, literal_text{this, "", "", false, naming});
}

void bddpp_manager::Print_sop_pref_suff(const char* OR, const char* AND, const char* NOTpre,
                                        const char* NOTpost, std::ostream& os, const bdd& f,
                                        const char* PRE, const char* SUF, int kind,
                                        const bdd_naming* naming)
{
    put_sop(os, this, sop_words{OR, AND, NOTpre, NOTpost}, f, kind, literal_text{this, PRE, SUF, false, naming});
}

void bddpp_manager::Print_cat_sop(const char* OR, const char* AND, const char* NOTpre,
                                  const char* NOTpost, std::ostream& os, const bdd& f,
                                  const std::string& ARR, int kind)
{
    put_sop(os, this, sop_words{OR, AND, NOTpre, NOTpost}, f, kind, literal_text{this, ARR, "", true, nullptr});
}

void Print_debug_bdd(std::ostream& os, const bdd& f)
{
    bddpp_manager* m = f.node_ptr ? f.node_ptr->owner() : nullptr;
    if (!m) Sop_fatal(f);
    m->Print_sop(" + ", " . ", "!", "", os, f, 0);
}

std::string bddpp_manager::Print_sop_to_ESTEREL_String(const bdd& f, int kind, const bdd_naming* naming)
{
    if (Bdd_is_zero_tautologic(f)) return "not tick";
    if (Bdd_is_one_tautologic(f)) return "tick";
    return Print_sop_to_String_pref_suff(" or ", " and ", "not ", "", f, "", "", kind, naming);
}

std::string bddpp_manager::Print_sop_to_VHDL_String(const bdd& f, int kind)
{
    if (Bdd_is_zero_tautologic(f)) return "'0'";
    if (Bdd_is_one_tautologic(f)) return "'1'";
    std::string s = Print_sop_to_String_pref_suff(") or (", " and ", "not ", "", f, "", "", kind);
    // "or" binds looser than "and" only within parentheses: each product gets its own
    return s.find(") or (") == std::string::npos ? s : "(" + s + ")";
}

// ---- the sums of a writer's style ----

sop_style::sop_style(bddpp_manager* m, std::string_view OR, std::string_view AND, std::string_view NOTpre,
                     std::string_view NOTpost, const bdd_naming* naming)
    : m(m), OR(OR), AND(AND), NOTpre(NOTpre), NOTpost(NOTpost), naming(naming), scope(cover_memo_scope::of(m))
{
    if (!scope) return;
    sop_text_memo& texts = sop_text_memo::of(scope);
    kept = texts.keeps(sop_words{OR, AND, NOTpre, NOTpost}, literal_text{m, "", "", false, naming});
    generation = texts.generation;
}

void sop_style::append(text_room& text, const bdd& f, int kind) const
{
    const sop_words w{OR, AND, NOTpre, NOTpost};
    const literal_text var{m, "", "", false, naming};
    // the memo may have been cleared since, and given another style
    if (kept && cover_memo_scope::of(m) == scope && sop_text_memo::of(scope).generation == generation)
        sop_text(text, m, w, f, kind, var, scope, true);
    else
        sop_text(text, m, w, f, kind, var);
}

// ---- covers kept for a run ----

cover_memo_scope::cover_memo_scope(bddpp_manager* m) : m(m), outer(innermost_memo)
{
    innermost_memo = this;
}

cover_memo_scope::~cover_memo_scope()
{
    sop_text_memo::forget(this);
    // scopes end in the reverse order of their beginnings
    innermost_memo = outer;
}

cover_memo_scope* cover_memo_scope::of(bddpp_manager* m)
{
    cover_memo_scope* s = innermost_memo;
    while (s && s->m != m) s = s->outer;
    return s;
}

std::uint32_t* cover_memo_scope::find_slot(unsigned long long key)
{
    const std::size_t mask = slots.size() - 1;
    std::size_t i = std::size_t((key * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
    while (slots[i] != 0 && keys[slots[i] - 1] != key) i = (i + 1) & mask;
    return &slots[i];
}

void cover_memo_scope::forget()
{
    sop_text_memo::forget(this);
    keys.clear();
    firsts.clear();
    slots.clear();
    lits.clear();
    ends.clear();
    next = 0;
}

void cover_memo_scope::cover(const bdd& f, int kind, std::size_t& first, std::size_t& count)
{
    if (f.manager != m || !f.node_ptr || f.node_ptr->owner() != m) Sop_fatal(f);
    // every kind outside 1 to 3 is the cover of kind 0
    unsigned long long k = kind >= 1 && kind <= 3 ? static_cast<unsigned long long>(kind) : 0;
    unsigned long long key = (static_cast<unsigned long long>(f.node_ptr->number) << 3) |
                             (f.link == 1 ? 4ULL : 0ULL) | k;
    std::size_t found = next;
    if (found >= keys.size() || keys[found] != key) {
        if (slots.empty()) slots.assign(1024, 0);
        std::uint32_t* slot = find_slot(key);
        if (*slot != 0) {
            found = *slot - 1;
        } else {
            const std::vector<cube_literals> cover = Cover_literals(m, f, int(k));
            std::size_t size = 0;
            for (const cube_literals& c : cover) size += c.size();
            // beyond the 32-bit indexes the kept covers are dropped: they are only kept to save
            // their computation again
            const std::size_t most = 0xFFFFFFFFu;
            if (lits.size() + size > most || ends.size() + cover.size() > most || keys.size() + 1 >= most / 2)
                forget();
            if (slots.empty()) slots.assign(1024, 0);
            if (firsts.empty()) firsts.push_back(0);
            for (const cube_literals& c : cover) {
                for (const std::pair<long, int>& l : c)
                    lits.push_back(static_cast<std::uint32_t>(l.first) << 1 | (l.second ? 1u : 0u));
                ends.push_back(static_cast<std::uint32_t>(lits.size()));
            }
            found = keys.size();
            keys.push_back(key);
            firsts.push_back(static_cast<std::uint32_t>(ends.size()));
            if (2 * keys.size() > slots.size()) {
                slots.assign(2 * slots.size(), 0);
                for (std::size_t c = 0; c < keys.size(); ++c) *find_slot(keys[c]) = static_cast<std::uint32_t>(c + 1);
            } else {
                *find_slot(key) = static_cast<std::uint32_t>(found + 1);
            }
        }
    }
    next = found + 1;
    first = firsts[found];
    count = firsts[found + 1] - firsts[found];
}

// ---- two-level tables ----

namespace {

// One table: the inputs are f's support in ascending order position, named by name or,
// with num, numbered num[position]; the output is out.
void pla_table(bddpp_manager* m, std::ostream& os, const bdd& out, const bdd& f,
               const std::string& NAMEpre, const std::string& NAMEsuf, const std::string& HEAD,
               const std::string& ENDHEAD, const std::string& ROWSEP, const std::string& END,
               const std::string& LITSEP, int kind, const long* num)
{
    std::set<long> support = m->set_of_index_depend_on(f);
    std::vector<cube_literals> cover = Cover_literals(m, f, kind);
    std::string out_name;
    if (!num) {
        out_name = m->Name_var_by_bdd(out);
    } else {
        long q = m->Bdd_if_index(out);
        out_name = q >= 0 ? std::to_string(num[q]) : "?";
    }
    os << HEAD;
    for (long p : support)
        os << NAMEpre << (num ? std::to_string(num[p]) : m->Name_var_by_index(p)) << NAMEsuf << " ";
    os << NAMEpre << out_name << NAMEsuf << ENDHEAD;
    if (support.empty()) {
        os << (m->Bdd_is_one_tautologic(f) ? "1" : "0") << END;
        return;
    }
    size_t row = 0;
    for (const cube_literals& lits : cover) {
        size_t k = 0;
        for (long p : support) {
            while (k < lits.size() && lits[k].first < p) ++k;
            bool present = k < lits.size() && lits[k].first == p;
            os << (present ? (lits[k].second ? '1' : '0') : '-') << LITSEP;
        }
        os << " 1" << (++row < cover.size() ? ROWSEP : END);
    }
}

} // namespace

void bddpp_manager::PLA_print_pref_suff(std::ostream& os, const bdd& out, const bdd& f,
                                        const std::string& NAMEpre, const std::string& NAMEsuf,
                                        const std::string& HEAD, const std::string& ENDHEAD,
                                        const std::string& ROWSEP, const std::string& END,
                                        const std::string& LITSEP, int kind)
{
    pla_table(this, os, out, f, NAMEpre, NAMEsuf, HEAD, ENDHEAD, ROWSEP, END, LITSEP, kind, nullptr);
}

void bddpp_manager::PLA_print_pref_suff_with_renaming(
    std::ostream& os, const bdd& out, const bdd& f, const std::string& NAMEpre,
    const std::string& NAMEsuf, const std::string& HEAD, const std::string& ENDHEAD,
    const std::string& ROWSEP, const std::string& END, const std::string& LITSEP, int kind, long* num)
{
    pla_table(this, os, out, f, NAMEpre, NAMEsuf, HEAD, ENDHEAD, ROWSEP, END, LITSEP, kind, num);
}

void bddpp_manager::BLIF_print(std::ostream& os, const bdd& out, const bdd& f, int kind)
{
    PLA_print_pref_suff(os, out, f, "", "", ".names  ", "\n", "\n", "\n", "", kind);
}

void bddpp_manager::LEC_print(std::ostream& os, long* num, const bdd& out, const bdd& f, int kind)
{
    PLA_print_pref_suff_with_renaming(os, out, f, "", "", "", ":\n", ",\n", ";\n", " ", kind, num);
}
