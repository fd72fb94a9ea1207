using System.Globalization;

namespace System.Data.Kavex
{
    /// <summary>Parses the texts the library renders NUMBER, DATE and TIMESTAMP values as, straight
    /// from their UTF-8 bytes: NUMBER as plain or scientific decimal ("12.5", "-3", "1.25E+01",
    /// "1.E+00"), DATE as "yyyy-mm-dd hh:mi:ss", TIMESTAMP as "yyyy-mm-dd hh:mi:ss[.ff]+hh:mm".</summary>
    internal static class ValueText
    {
        private const NumberStyles NumberStyle = NumberStyles.Float;

        /// <summary>The NUMBER text as a decimal when decimal holds it exactly; otherwise why it
        /// does not fit (value is then 0).</summary>
        public static DecimalFit ToDecimal(ReadOnlySpan<byte> text, out decimal value)
        {
            // Up to 18 digits without an exponent fit a long mantissa: no general parser needed.
            int i = 0;
            bool negative = false;
            if (text.Length > 0 && (text[0] == '-' || text[0] == '+'))
            {
                negative = text[0] == '-';
                i = 1;
            }
            long mantissa = 0;
            int digits = 0;
            int scale = -1;
            for (; i < text.Length; i++)
            {
                byte c = text[i];
                if (c >= '0' && c <= '9')
                {
                    if (++digits > 18) return DecimalText.Read(text, out value);
                    mantissa = mantissa * 10 + (c - '0');
                    if (scale >= 0) scale++;
                }
                else if (c == '.' && scale < 0)
                {
                    scale = 0;
                }
                else
                {
                    return DecimalText.Read(text, out value);
                }
            }
            if (digits == 0) return DecimalText.Read(text, out value);
            value = new decimal((int)mantissa, (int)(mantissa >> 32), 0, negative && mantissa != 0, (byte)Math.Max(scale, 0));
            return DecimalFit.Exact;
        }

        public static long ToInt64(ReadOnlySpan<byte> text)
        {
            if (long.TryParse(text, NumberStyles.AllowLeadingSign, CultureInfo.InvariantCulture, out long value)) return value;
            switch (ToDecimal(text, out decimal exact))
            {
                case DecimalFit.Exact when exact == decimal.Truncate(exact):
                    return decimal.ToInt64(exact);  // OverflowException beyond long
                case DecimalFit.Exact or DecimalFit.TooManyDigits:
                    // Too many digits for decimal within its range means digits after the point.
                    throw new InvalidCastException("NUMBER value " + Utf8(text) + " is not an integer");
                case DecimalFit.OutOfRange:
                    throw new OverflowException("NUMBER value " + Utf8(text) + " is beyond a 64-bit integer");
                default:
                    throw NotANumber(text);
            }
        }

        public static double ToDouble(ReadOnlySpan<byte> text)
        {
            if (double.TryParse(text, NumberStyle, CultureInfo.InvariantCulture, out double value)) return value;
            throw NotANumber(text);
        }

        /// <summary>The value of a NUMBER in its natural .NET type: decimal, exact when decimal
        /// holds every digit and rounded to decimal's 28 or 29 significant digits when the value
        /// has more; double beyond decimal's range (above 79228162514264337593543950335 in
        /// magnitude, or below 1E-28 and not zero), where a decimal could hold no digit of it.</summary>
        public static object ToNatural(ReadOnlySpan<byte> text)
        {
            switch (ToDecimal(text, out decimal exact))
            {
                case DecimalFit.Exact:
                    return exact;
                case DecimalFit.TooManyDigits:
                    if (decimal.TryParse(text, NumberStyle, CultureInfo.InvariantCulture, out decimal rounded)) return rounded;
                    break;
            }
            return ToDouble(text);
        }

        private static string Utf8(ReadOnlySpan<byte> text) => Text.Encoding.UTF8.GetString(text);

        private static FormatException NotANumber(ReadOnlySpan<byte> text) => new FormatException("Not a number: '" + Utf8(text) + "'");

        private static readonly string[] Months = { "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC" };

        /// <summary>"yyyy-mm-dd hh:mi:ss", the library's DATE text; also DD-MON-YY (OCCI's default
        /// rendering, as TO_CHAR may give it), whose two-digit year follows Oracle's RR rule: 00-49 is
        /// 20xx, 50-99 is 19xx, and DD-MON-YYYY.</summary>
        public static DateTime ToDate(ReadOnlySpan<byte> text)
        {
            if (text.Length >= 9 && text[2] == '-' && text[6] == '-')
            {
                int day = Digits(text, 0, 2);
                int month = 0;
                for (int m = 0; m < 12; m++)
                {
                    if (char.ToUpperInvariant((char)text[3]) == Months[m][0] && char.ToUpperInvariant((char)text[4]) == Months[m][1] &&
                        char.ToUpperInvariant((char)text[5]) == Months[m][2]) month = m + 1;
                }
                int yearDigits = text.Length - 7;
                int year = Digits(text, 7, yearDigits);
                if (yearDigits == 2) year += year < 50 ? 2000 : 1900;
                if (day > 0 && month > 0 && year > 0) return new DateTime(year, month, day, 0, 0, 0, DateTimeKind.Unspecified);
            }
            return ToTimestamp(text).DateTime;
        }

        /// <summary>"yyyy-mm-dd hh:mi:ss+hh:mm", optionally with fractional seconds after the seconds.</summary>
        public static DateTimeOffset ToTimestamp(ReadOnlySpan<byte> text)
        {
            if (text.Length >= 19 && text[4] == '-' && text[7] == '-' && text[10] == ' ' && text[13] == ':' && text[16] == ':')
            {
                int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
                int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
                int at = 19;
                long ticks = 0;
                if (at < text.Length && text[at] == '.')
                {
                    long scaleTicks = TimeSpan.TicksPerSecond;
                    for (at++; at < text.Length && text[at] >= '0' && text[at] <= '9'; at++)
                    {
                        scaleTicks /= 10;
                        ticks += (text[at] - '0') * scaleTicks;
                    }
                }
                TimeSpan offset = TimeSpan.Zero;
                if (at + 6 <= text.Length && (text[at] == '+' || text[at] == '-') && text[at + 3] == ':')
                {
                    int sign = text[at] == '-' ? -1 : 1;
                    offset = new TimeSpan(sign * Digits(text, at + 1, 2), sign * Digits(text, at + 4, 2), 0);
                    at += 6;
                }
                if (year >= 0 && month > 0 && day > 0 && hour >= 0 && minute >= 0 && second >= 0 && at == text.Length)
                    return new DateTimeOffset(year, month, day, hour, minute, second, offset).AddTicks(ticks);
            }
            string whole = Text.Encoding.UTF8.GetString(text);
            if (DateTimeOffset.TryParse(whole, CultureInfo.InvariantCulture, DateTimeStyles.AssumeUniversal, out DateTimeOffset parsed)) return parsed;
            throw new FormatException("Not a date or timestamp: '" + whole + "'");
        }

        /// <summary>The decimal digits at [start, start + count), or -1 when one is not a digit.</summary>
        private static int Digits(ReadOnlySpan<byte> text, int start, int count)
        {
            int value = 0;
            for (int i = start; i < start + count; i++)
            {
                int d = text[i] - '0';
                if (d < 0 || d > 9) return -1;
                value = value * 10 + d;
            }
            return value;
        }
    }
}
