// A table with an entry repeated under a second name and an entry nothing raises.
inline constexpr OraMessage<0> kMissingKeyword{905, "missing keyword"};
inline constexpr OraMessage<0> kKeywordMissing{905, "missing keyword"};
inline constexpr OraMessage<1> kUnused{904, "\"{}\": invalid; identifier"};
