// The sums of products of a writer, in its words and written names. While a scope of covers lives,
// the sums of the first style asked for are kept: a later writer of the same words and names
// copies their text instead of making it again.
#ifndef NELVOR_SOP_STYLE_H
#define NELVOR_SOP_STYLE_H

#include <string_view>

#include "bdd/bdd_naming.h"
#include "bdd/bddpp.h"
#include "utils/text_room.h"

class cover_memo_scope;

class sop_style {
public:
    // The words must outlive the style, and the naming (null: the manager's names) must not
    // change while it lives.
    sop_style(bddpp_manager* m, std::string_view OR, std::string_view AND, std::string_view NOTpre,
              std::string_view NOTpost, const bdd_naming* naming);

    // As m->Append_sop(text, OR, AND, NOTpre, NOTpost, f, "", "", kind, naming).
    void append(text_room& text, const bdd& f, int kind) const;

private:
    bddpp_manager* m;
    std::string_view OR, AND, NOTpre, NOTpost;
    const bdd_naming* naming;
    cover_memo_scope* scope; // the scope of covers living when the style was made, null when none
    bool kept = false;       // whether the scope keeps the sums of this style
    unsigned long long generation = 0; // of the scope's kept sums when the style was made
};

#endif
