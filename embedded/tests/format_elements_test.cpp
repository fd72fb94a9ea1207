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

// TO_CHAR of a date given as text in YYYY-MM-DD HH24:MI:SS.
#define DT(text) "to_date('" text "', 'YYYY-MM-DD HH24:MI:SS')"

TEST_F(FormatElements, DatetimeSuffixes) {
    const std::string april3 = DT("2008-04-03 00:00:00");
    EXPECT_EQ("3RD of April, 2008",
              q("to_char(" + april3 + ", 'fmDDTH') || ' of ' || to_char(" + april3 +
                ", 'fmMonth') || ', ' || to_char(" + april3 + ", 'YYYY')"));
    EXPECT_EQ("03RD", q("to_char(" + april3 + ", 'DDTH')"));
    EXPECT_EQ("03rd", q("to_char(" + april3 + ", 'DdTH')"));
    EXPECT_EQ("03rd", q("to_char(" + april3 + ", 'ddth')"));
    EXPECT_EQ("THREE", q("to_char(" + april3 + ", 'DDsp')"));
    EXPECT_EQ("THIRD", q("to_char(" + april3 + ", 'DDSPTH')"));
    EXPECT_EQ("THIRD", q("to_char(" + april3 + ", 'DDTHSP')"));
    EXPECT_EQ("Fourteenth", q("to_char(" DT("2008-04-14 00:00:00") ", 'Ddspth')"));
    EXPECT_EQ("twenty-first", q("to_char(" DT("2008-04-21 00:00:00") ", 'ddspth')"));
    EXPECT_EQ("Twenty-Second", q("to_char(" DT("2008-04-22 00:00:00") ", 'Ddspth')"));
    EXPECT_EQ("1ST 2ND 11TH 12TH 13TH 21ST 101ST 111TH",
              q("to_char(" DT("2008-01-01 00:00:00") ", 'fmDDTH') || ' ' || "
                "to_char(" DT("2008-01-02 00:00:00") ", 'fmDDTH') || ' ' || "
                "to_char(" DT("2008-01-11 00:00:00") ", 'fmDDTH') || ' ' || "
                "to_char(" DT("2008-01-12 00:00:00") ", 'fmDDTH') || ' ' || "
                "to_char(" DT("2008-01-13 00:00:00") ", 'fmDDTH') || ' ' || "
                "to_char(" DT("2008-01-21 00:00:00") ", 'fmDDTH') || ' ' || "
                "to_char(" DT("2008-04-10 00:00:00") ", 'fmDDDTH') || ' ' || "
                "to_char(" DT("2008-04-20 00:00:00") ", 'fmDDDTH')"));
    EXPECT_EQ("TWO THOUSAND EIGHT", q("to_char(" + april3 + ", 'YYYYSP')"));
    EXPECT_EQ("thirteen forty-fifth", q("to_char(" DT("2008-04-03 13:45:00") ", 'hh24sp mispth')"));
    EXPECT_EQ("TWO MILLION FOUR HUNDRED FIFTY-ONE THOUSAND FIVE HUNDRED FORTY-FIVE",
              q("to_char(" DT("2000-01-01 00:00:00") ", 'JSP')"));
    EXPECT_EQ(1821, err("to_char(" + april3 + ", 'MONTHSP')"));
}

TEST_F(FormatElements, SpelledYearsRomanMonthsAndShortForms) {
    EXPECT_EQ("NINETEEN NINETY-EIGHT", q("to_char(" DT("1998-05-01 00:00:00") ", 'YEAR')"));
    EXPECT_EQ("Nineteen Ninety-Eight", q("to_char(" DT("1998-05-01 00:00:00") ", 'Year')"));
    EXPECT_EQ("two thousand", q("to_char(" DT("2000-05-01 00:00:00") ", 'year')"));
    EXPECT_EQ("TWO THOUSAND NINE", q("to_char(" DT("2009-05-01 00:00:00") ", 'YEAR')"));
    EXPECT_EQ("TWENTY TEN", q("to_char(" DT("2010-05-01 00:00:00") ", 'YEAR')"));
    EXPECT_EQ("NINETEEN HUNDRED", q("to_char(" DT("1900-05-01 00:00:00") ", 'YEAR')"));
    EXPECT_EQ("-FORTY-FOUR", q("to_char(to_date('-0044-03-15', 'SYYYY-MM-DD'), 'SYEAR')"));
    EXPECT_EQ("IV  |iv|XII ", q("to_char(" DT("2008-04-03 00:00:00") ", 'RM') || '|' || "
                             "to_char(" DT("2008-04-03 00:00:00") ", 'fmrm') || '|' || "
                             "to_char(" DT("2008-12-03 00:00:00") ", 'RM')"));
    const std::string jan4 = DT("2013-01-04 10:18:59");
    EXPECT_EQ("Friday, January 04, 2013", q("to_char(" + jan4 + ", 'DL')"));
    EXPECT_EQ("1/4/2013", q("to_char(" + jan4 + ", 'DS')"));
    EXPECT_EQ("10:18:59 AM", q("to_char(" + jan4 + ", 'TS')"));
    EXPECT_EQ("1/4/2013 10:18:59 AM", q("to_char(" + jan4 + ", 'DS TS')"));
    EXPECT_EQ("013 13 3", q("to_char(" + jan4 + ", 'IYY IY I')"));
}

TEST_F(FormatElements, ExactMatchingWithFx) {
    // Oracle's table of character data matched with and without FX.
    EXPECT_EQ("1998-01-15 00:00:00", date("15/ JAN /1998", "DD-MON-YYYY"));
    EXPECT_EQ("1998-01-15 00:00:00", date(" 15! JAN % /1998", "DD-MON-YYYY"));
    EXPECT_EQ(1861, err("to_date('15/JAN/1998', 'FXDD-MON-YYYY')"));
    EXPECT_EQ("1998-01-15 00:00:00", date("15-JAN-1998", "FXDD-MON-YYYY"));
    EXPECT_EQ(1862, err("to_date('1-JAN-1998', 'FXDD-MON-YYYY')"));
    EXPECT_EQ("1998-01-01 00:00:00", date("01-JAN-1998", "FXDD-MON-YYYY"));
    EXPECT_EQ("1998-01-01 00:00:00", date("1-JAN-1998", "FXFMDD-MON-YYYY"));
    // Punctuation may be left out when every digit is given, and any punctuation matches.
    EXPECT_EQ("02/07", q("to_char(to_date('0207', 'MM/YY'), 'MM/YY')"));
    EXPECT_EQ("02/07", q("to_char(to_date('02#07', 'MM/YY'), 'MM/YY')"));
    // FX: no extra blanks, quoted text as written (any case), the same punctuation.
    EXPECT_EQ(1861, err("to_date('15-JAN- 1998', 'FXDD-MON-YYYY')"));
    EXPECT_NE(0, err("to_date(' 15-JAN-1998', 'FXDD-MON-YYYY')"));  // no extra blanks
    EXPECT_EQ("1998-01-15 00:00:00", date("15 of jan 1998", "FXDD \"OF\" MON YYYY"));
    EXPECT_EQ(1862, err("to_date('15-JAN-98', 'FXDD-MON-YYYY')"));
    EXPECT_EQ(1862, err("to_timestamp('2024-01-15 7:05', 'FXYYYY-MM-DD HH24:MI')"));
    // FX toggles: what follows a second FX is matched leniently again.
    EXPECT_EQ("2024-01-15 07:05:00", date("2024-01-15 7:5", "FXYYYY-MM-DD FXHH24:MI"));
}

TEST_F(FormatElements, AlternativeElementsInToDate) {
    EXPECT_EQ("2024-03-05 00:00:00", date("05-MAR-2024", "DD-MM-YYYY"));      // MM reads MON
    EXPECT_EQ("2024-03-05 00:00:00", date("05-March-2024", "DD-MM-YYYY"));    // and MONTH
    EXPECT_EQ("2024-09-05 00:00:00", date("05-September-2024", "DD-MON-YYYY"));  // MON reads MONTH
    EXPECT_EQ("2024-09-05 00:00:00", date("05-Sep-2024", "DD-MONTH-YYYY"));   // MONTH reads MON
    EXPECT_EQ("1905-03-05 00:00:00", date("05-03-1905", "DD-MM-YY"));         // YY reads YYYY
    EXPECT_EQ("1905-03-05 00:00:00", date("05-03-1905", "DD-MM-RR"));         // RR reads RRRR
    EXPECT_EQ("1995-03-05 00:00:00", date("05-03-95", "DD-MM-RRRR"));         // RRRR reads RR
    EXPECT_EQ("2049-03-05 00:00:00", date("05-03-49", "DD-MM-RRRR"));
    EXPECT_EQ("0098-03-05 00:00:00", date("05-03-98", "DD-MM-YYYY"));
    EXPECT_EQ(1843, err("to_date('05-XYZ-2024', 'DD-MM-YYYY')"));
}

// TO_CHAR of a character value returns it unchanged, even when it reads like a date: only DATE and
// TIMESTAMP values render through a datetime model, and text is read by the session's DD-MON-RR.
TEST_F(FormatElements, TextThatLooksLikeADateStaysText) {
    EXPECT_EQ("2024-01-15", q("to_char('2024-01-15')"));
    EXPECT_EQ(1722, err("to_char('2024-01-15', 'YYYY')"));
    EXPECT_NE(0, err("to_date('2024-01-15')"));
    EXPECT_EQ("2024-01-15 00:00:00", date("2024-01-15", "YYYY-MM-DD"));
    EXPECT_EQ("15-JAN-24", q("to_char(to_date('15-JAN-24'))"));
}

TEST_F(FormatElements, MoreInputElements) {
    EXPECT_EQ("2024-02-10 00:00:00", date("2024-041", "YYYY-DDD"));
    EXPECT_EQ("2024-12-31 00:00:00", date("2024 366", "YYYY DDD"));
    EXPECT_EQ(1848, err("to_date('2023 366', 'YYYY DDD')"));
    EXPECT_EQ("2000-01-01 00:00:00", date("2451545", "J"));
    EXPECT_EQ(1854, err("to_date('0', 'J')"));
    EXPECT_EQ("2024-01-15 13:45:30", date("2024-01-15 49530", "YYYY-MM-DD SSSSS"));
    EXPECT_EQ(1853, err("to_date('2024-01-15 86400', 'YYYY-MM-DD SSSSS')"));
    EXPECT_EQ("1998-01-15 00:00:00", date("1,998-01-15", "Y,YYY-MM-DD"));
    EXPECT_EQ("-0044-03-15", q("to_char(to_date('-0044-03-15', 'SYYYY-MM-DD'), 'SYYYY-MM-DD')"));
    EXPECT_EQ("-0044-03-15", q("to_char(to_date('0044-03-15 BC', 'YYYY-MM-DD BC'), 'SYYYY-MM-DD')"));
    EXPECT_EQ("0044-03-15 00:00:00", date("0044-03-15 A.D.", "YYYY-MM-DD AD"));
    EXPECT_EQ("44 BC", q("to_char(to_date('0044-03-15 B.C.', 'YYYY-MM-DD B.C.'), 'fmYYYY BC')"));
    EXPECT_EQ("2024-04-03 00:00:00", date("2024 iv 3rd", "YYYY RM DDTH"));
    EXPECT_EQ("2024-01-15 00:00:00", date("Monday, 15 January 2024", "Day, DD Month YYYY"));
    EXPECT_EQ("2024-01-15 00:00:00", date("Mon 15 Jan 2024", "DY DD MON YYYY"));
    EXPECT_EQ(1846, err("to_date('Xyz 15 Jan 2024', 'DY DD MON YYYY')"));
    EXPECT_EQ(1846, err("to_date('2024-01-15 8', 'YYYY-MM-DD D')"));
    // Elements that give no date, and elements named twice.
    EXPECT_EQ(1820, err("to_date('2024 1', 'YYYY Q')"));
    EXPECT_EQ(1820, err("to_date('21', 'CC')"));
    EXPECT_EQ(1820, err("to_date('2024 05', 'YYYY IW')"));
    EXPECT_EQ(1812, err("to_date('2024 2024', 'YYYY RRRR')"));
    EXPECT_EQ(1816, err("to_date('01 JAN', 'MM MON')"));
    EXPECT_EQ(1811, err("to_date('2451545 2000', 'J YYYY')"));
    EXPECT_EQ(1821, err("to_date('15', 'DDSP')"));
}

TEST_F(FormatElements, NlsParameterArgument) {
    const std::string aus = "'NLS_NUMERIC_CHARACTERS = '',.'' NLS_CURRENCY = ''AusDollars'' '";
    EXPECT_EQ("AusDollars10.000,00-", q("to_char(-10000, 'L99G999D99MI', " + aus + ")"));
    EXPECT_EQ("-100", q("to_number('-AusDollars100', 'L9G999D99', " + aus + ")"));
    EXPECT_EQ("1234.5", q("to_number('1.234,5', '9G999D9', " + aus + ")"));
    EXPECT_EQ("1,234.50", q("to_char(1234.5, 'FM9,999.00', " + aus + ")"));  // ',' and '.' stay
    EXPECT_EQ("EUR12", q("to_char(12, 'FMC99', 'NLS_ISO_CURRENCY = GERMANY')"));
    EXPECT_EQ("#12", q("to_char(12, 'FMU99', 'NLS_DUAL_CURRENCY = ''#''')"));
    EXPECT_EQ("15-JAN-24", q("to_char(to_date('2024-01-15', 'YYYY-MM-DD'), 'DD-MON-RR', "
                             "'NLS_DATE_LANGUAGE = American')"));
    EXPECT_EQ(12702, err("to_char(1, '9', 'NLS_NO_SUCH = 1')"));
    EXPECT_EQ(12702, err("to_char(1, '9', 'NLS_NUMERIC_CHARACTERS = ''..''')"));
    EXPECT_EQ(12702, err("to_char(1, '9', 'NLS_DATE_LANGUAGE = Klingon')"));
}

}  // namespace
}  // namespace clienttest
