// One message from the table and one spelt out.
void parse(bool a) {
    if (a) raise(ora::kMissingKeyword);
    if (!a) raise(ora::kKeywordMissing);
    raise(933, "SQL command not properly ended");
}
