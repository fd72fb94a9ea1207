// Format model elements through SQL, checked against the results Oracle's SQL Language Reference
// documents for TO_CHAR, TO_NUMBER, TO_DATE and TO_TIMESTAMP (American NLS values).
#include "client_fixture.h"

namespace clienttest {
namespace {

class FormatElements : public ::testing::Test {
protected:
    FormatElements() : s(memdb()) {}
    std::string q(const std::string& expression) { return s.one("select " + expression + " from dual"); }
    int err(const std::string& expression) {
        return oraCode([&] { q(expression); });
    }
    // TO_CHAR(number, model)
    std::string num(const std::string& value, const std::string& model) {
        return q("to_char(" + value + ", '" + model + "')");
    }
    // A date read with one model and shown as YYYY-MM-DD HH24:MI:SS.
    std::string date(const std::string& text, const std::string& model) {
        return q("to_char(to_date('" + text + "', '" + model + "'), 'YYYY-MM-DD HH24:MI:SS')");
    }
    Session s;
};

TEST_F(FormatElements, NumberConversionTable) {
    EXPECT_EQ("1234567890-", num("-1234567890", "9999999999S"));
    EXPECT_EQ("1234567890+", num("1234567890", "9999999999S"));
    EXPECT_EQ("   .00", num("0", "99.99"));
    EXPECT_EQ("   .10", num("0.1", "99.99"));
    EXPECT_EQ("  -.20", num("-0.2", "99.99"));
    EXPECT_EQ("  0.00", num("0", "90.99"));
    EXPECT_EQ("  0.10", num("0.1", "90.99"));
    EXPECT_EQ(" -0.20", num("-0.2", "90.99"));
    EXPECT_EQ("    0", num("0", "9999"));
    EXPECT_EQ("    1", num("1", "9999"));
    EXPECT_EQ("     ", num("0", "B9999"));
    EXPECT_EQ("    1", num("1", "B9999"));
    EXPECT_EQ("      ", num("0", "B90.99"));
    EXPECT_EQ("    .50", num("0.5", "B990.99"));  // zeros of the integer part blank as well
    EXPECT_EQ(" 123.456", num("123.456", "999.999"));
    EXPECT_EQ("-123.456", num("-123.456", "999.999"));
    EXPECT_EQ("123.456", num("123.456", "FM999.009"));
    EXPECT_EQ("  1.2E+02", num("123.456", "9.9EEEE"));
    EXPECT_EQ(" 1.0E+123", num("1E+123", "9.9EEEE"));
    EXPECT_EQ("1.2E+02", num("123.456", "FM9.9EEEE"));
    EXPECT_EQ("123.45", num("123.45", "FM999.009"));
    EXPECT_EQ("123.00", num("123.0", "FM999.009"));
    EXPECT_EQ("          $123.45", num("123.45", "L999.99"));
    EXPECT_EQ("$123.45", num("123.45", "FML999.99"));
    EXPECT_EQ("         $10,000.00-", num("-10000", "L99G999D99MI"));
    EXPECT_EQ("###", num("1234", "99"));
}

TEST_F(FormatElements, CurrencyScaleAndSigns) {
    EXPECT_EQ(" USD123", num("123", "C999"));
    EXPECT_EQ("123USD", num("123", "FM999C"));
    EXPECT_EQ("          $123", num("123", "U999"));
    EXPECT_EQ(" 1230", num("12.3", "99V99"));
    EXPECT_EQ("  124", num("1.235", "99V99"));
    EXPECT_EQ("-1235", num("-1.2345", "9V999"));
    EXPECT_EQ("#####", num("123", "99V99"));
    EXPECT_EQ("<12.50>", num("-12.5", "99.99PR"));
    EXPECT_EQ(" 12.50 ", num("12.5", "99.99PR"));
    EXPECT_EQ("+$5", num("5", "S$9"));
    EXPECT_EQ(1481, err("to_char(1, '9V9V9')"));
    EXPECT_EQ(1481, err("to_char(1, '9.9V9')"));
    EXPECT_EQ(1481, err("to_char(1, 'L9L')"));
    EXPECT_EQ(1481, err("to_char(1, '9L9')"));
    EXPECT_EQ(1481, err("to_char(1, 'BB9')"));
}

TEST_F(FormatElements, HexadecimalAndRoman) {
    EXPECT_EQ(" FF", num("255", "XX"));
    EXPECT_EQ(" ff", num("255", "xx"));
    EXPECT_EQ("FF", num("255", "FMXX"));
    EXPECT_EQ("00FF", num("255", "0XXX"));
    EXPECT_EQ("  B", num("10.5", "XX"));  // rounded to an integer
    EXPECT_EQ("###", num("256", "XX"));
    EXPECT_EQ("###", num("-1", "XX"));
    EXPECT_EQ(" 0", num("0", "X"));
    EXPECT_EQ(" 7FFFFFFFFFFFFFFF", num("9223372036854775807", std::string(16, 'X')));
    EXPECT_EQ(std::string(16, '#'), num("9223372036854775807", std::string(15, 'X')));
    EXPECT_EQ(1481, err("to_char(255, '9XX')"));
    EXPECT_EQ(1481, err("to_char(255, 'XX9')"));

    EXPECT_EQ("             XI", num("11", "RN"));
    EXPECT_EQ("mcmxcix", num("1999", "fmrn"));
    EXPECT_EQ("MMMCMXCIX", num("3999", "FMRN"));
    EXPECT_EQ("CDXLIV", num("444", "FMRN"));
    EXPECT_EQ("###############", num("4000", "RN"));
    EXPECT_EQ("###############", num("0", "RN"));
}

TEST_F(FormatElements, TextMinimum) {
    EXPECT_EQ("1234", num("1234", "TM"));
    EXPECT_EQ(".5", num("0.5", "tm9"));
    EXPECT_EQ("-12.25", num("-12.25", "TM9"));
    EXPECT_EQ("1.234E+03", num("1234", "TME"));
    EXPECT_EQ("1E+03", num("1000", "TME"));
    EXPECT_EQ("-5E-01", num("-0.5", "TME"));
    EXPECT_EQ("1" + std::string(50, '0'), num("1E+50", "TM9"));
    EXPECT_EQ("1E+70", num("1E+70", "TM9"));  // past 64 characters: scientific
    EXPECT_EQ(1481, err("to_char(1234, 'TM9e')"));
    EXPECT_EQ(1481, err("to_char(1234, 'FMTM')"));
}

TEST_F(FormatElements, ToNumberReadsTheModel) {
    EXPECT_EQ("-100", q("to_number('-$100', 'L9G999D99')"));
    EXPECT_EQ("1234.56", q("to_number('$1,234.56', 'L9G999D99')"));
    EXPECT_EQ("1234.56", q("to_number('1,234.56', '9G999D99')"));
    EXPECT_EQ("255", q("to_number('FF', 'XX')"));
    EXPECT_EQ("255", q("to_number('ff', 'xx')"));
    EXPECT_EQ("-5", q("to_number('<5>', '9PR')"));
    EXPECT_EQ("-5", q("to_number('5-', '9MI')"));
    EXPECT_EQ("5", q("to_number('+5', 'S9')"));
    EXPECT_EQ("100", q("to_number('USD100', 'C999')"));
    EXPECT_EQ("12.34", q("to_number('1234', '99V99')"));
    EXPECT_EQ("1200", q("to_number('1.2E+03', '9.9EEEE')"));
    EXPECT_EQ(1722, err("to_number('12345', '999')"));
    EXPECT_EQ(1722, err("to_number('1.234', '9.99')"));
    EXPECT_EQ(1722, err("to_number('1,234', '9999')"));
    EXPECT_EQ(1722, err("to_number('FFF', 'XX')"));
    EXPECT_EQ(1722, err("to_number('12a', '999')"));
}

}  // namespace
}  // namespace clienttest
