// The ESTEREL and LIGHT ESTEREL module writers.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

const writer_case ESTEREL_CASES[] = {
    {"registers, locals and equations", circuit_a, "ca", R"(module ca:
input a, 
       b;
output y;

signal q, d, t in

  [
    run my_pre [signal d / S,   q / preS]
  ]
  ||

  loop
    [
  present [q and a] then
    emit t
  end present
  ||
  present [b or not b and t] then
    emit y
  end present
  ||
  present [a and not y or not a and y] then
    emit d
  end present

    ]
  each tick

end signal
end module

)"},
    {"an output register is no local signal", circuit_b, "cb", ""},
    {"each signal declared once, constant 0", circuit_v, "cv", R"(module cv:
input a;
output y;

signal r, s, k, z in

  [
    run my_pre [signal a / S,   r / preS]
  ]
  ||
  [
    run my_pre [signal r / S,   s / preS]
  ]
  ||

  loop
    [
  present [not tick] then
    emit k
  end present
  ||
  present [r and s] then
    emit y
  end present
  ||
  present [y] then
    emit z
  end present

    ]
  each tick

end signal
end module

)"},
    {"nothing at all", circuit_empty, "e0", "module e0:\n\n\n\n\n\nend module\n\n"},
    {"combinational without locals: no signal scope", circuit_comb, "cc", R"(module cc:
input a, 
       b;
output x, 
        y;


  loop
    [
  present [a and b] then
    emit x
  end present
  ||
  present [not a] then
    emit y
  end present

    ]
  each tick

end module

)"},
    {"initial value 1 emitted, no equation block", circuit_delay, "cd", R"(module cd:
input a;
output r;

  [
    emit r;
    run my_pre [signal a / S,   r / preS]
  ]


end module

)"},
    {"reserved names and @ take the renaming, the module too", circuit_reserved, "module", R"(module module__:
input input_, 
       node;
output true_;

signal signal_, _at_, module_ in

  [
    emit signal_;
    run my_pre [signal _at_ / S,   signal_ / preS]
  ]
  ||

  loop
    [
  present [input_ and node] then
    emit _at_
  end present
  ||
  present [signal_ or not signal_ and node] then
    emit module_
  end present
  ||
  present [not input_ and module_] then
    emit true_
  end present

    ]
  each tick

end signal
end module

)"},
};

const writer_case LE_CASES[] = {
    {"registers, locals and equations", circuit_a, "ca", R"(module ca:
Input: a, b;
Output: y;

local t
{
Mealy Machine

Register: 
q : 0 : d;

t = q and a;
y = b or not b and t;
d = a and not y or not a and y;

}
end

)"},
    {"two registers, constant 0", circuit_v, "cv", R"(module cv:
Input: a;
Output: y;

local k, z
{
Mealy Machine

Register: 
r : 0 : a,
s : 0 : r;

k = 0;
y = r and s;
z = y;

}
end

)"},
    {"nothing at all", circuit_empty, "e0", "module e0:\n\n\nMealy Machine\n\nend\n\n"},
    {"no local: no scope braces", circuit_delay, "cd", R"(module cd:
Input: a;
Output: r;


Mealy Machine

Register: 
r : 1 : a;

end

)"},
    {"reserved names and @ take the renaming, the module too", circuit_reserved, "module", R"(module module__:
Input: input_, node;
Output: true_;

local module_
{
Mealy Machine

Register: 
signal_ : 1 : _at_;

_at_ = input_ and node;
module_ = signal_ or not signal_ and node;
true_ = not input_ and module_;

}
end

)"},
};

TEST(EsterelPut, GoldenModules)
{
    for (const writer_case& c : ESTEREL_CASES) {
        // circuit B is circuit A with q among the outputs
        std::string expected = c.circuit != circuit_b ? c.expected
                                                      : edited(ESTEREL_CASES[0].expected,
                                                               {{"module ca", "module cb"},
                                                                {"output y;", "output q, \n        y;"},
                                                                {"signal q, d, t in", "signal d, t in"}});
        EXPECT_EQ(written(c.circuit(), &b_automaton::ESTEREL_put, c.name), expected) << c.label;
    }
}

TEST(LePut, GoldenModules)
{
    for (const writer_case& c : LE_CASES)
        EXPECT_EQ(written(c.circuit(), &b_automaton::LE_put, c.name), c.expected) << c.label;
}

TEST(LePut, RegisterEntriesEndWithCommaThenSemicolon)
{
    test_circuit c = circuit_v();
    c.init = {0, 1};
    std::string text = written(c, &b_automaton::LE_put, "cv");
    EXPECT_NE(text.find("\nRegister: \nr : 0 : a,\ns : 1 : r;\n\n"), std::string::npos) << text;
}

} // namespace
