namespace System.Data.Kavex
{
    /// <summary>How a NUMBER text fits System.Decimal, which holds a 96-bit integer scaled by
    /// 10^0 to 10^-28: every value of at most 28 decimal places whose digits, as an integer, are
    /// at most 79228162514264337593543950335.</summary>
    internal enum DecimalFit
    {
        /// <summary>Decimal holds the value exactly.</summary>
        Exact,
        /// <summary>Within decimal's range, but with more digits than it keeps (1/3 to 40 digits):
        /// only a rounded value fits.</summary>
        TooManyDigits,
        /// <summary>Beyond decimal's range: above 79228162514264337593543950335 in magnitude, or
        /// not zero and below 1E-28, decimal's smallest step.</summary>
        OutOfRange,
        /// <summary>Not a decimal number (Oracle's infinities "~" and "-~", an empty text).</summary>
        NotANumber,
    }

    /// <summary>Reads the library's NUMBER texts (plain or scientific: "12.5", "-3", "1.25E+01",
    /// "1.E+00", up to 40 significant digits) into decimal without rounding: the value comes back
    /// only when decimal holds every digit, and otherwise the reason it does not fit.</summary>
    internal static class DecimalText
    {
        private const int MaxScale = 28;
        private const int MaxDigits = 29;  // digits of the largest mantissa, 2^96 - 1
        private static readonly UInt128 MaxMantissa = (UInt128.One << 96) - 1;

        public static DecimalFit Read(ReadOnlySpan<byte> text, out decimal value)
        {
            value = 0m;
            int i = 0;
            bool negative = false;
            if (i < text.Length && (text[i] == '-' || text[i] == '+'))
            {
                negative = text[i] == '-';
                i++;
            }
            // The significant digits without leading zeros, and the power of ten of the last one.
            Span<byte> digits = text.Length <= 128 ? stackalloc byte[text.Length] : new byte[text.Length];
            int count = 0;
            int exponent = 0;
            bool seenDigit = false, inFraction = false;
            for (; i < text.Length; i++)
            {
                byte c = text[i];
                if (c >= '0' && c <= '9')
                {
                    seenDigit = true;
                    if (count > 0 || c != '0') digits[count++] = (byte)(c - '0');
                    if (inFraction) exponent--;
                }
                else if (c == '.' && !inFraction)
                {
                    inFraction = true;
                }
                else
                {
                    break;
                }
            }
            if (!seenDigit) return DecimalFit.NotANumber;
            if (i < text.Length)
            {
                if (text[i] != 'E' && text[i] != 'e') return DecimalFit.NotANumber;
                if (!ReadExponent(text[(i + 1)..], out int power)) return DecimalFit.NotANumber;
                exponent += power;
            }
            while (count > 0 && digits[count - 1] == 0)
            {
                count--;
                exponent++;
            }
            if (count == 0) return DecimalFit.Exact;  // zero, whatever its sign and exponent

            // The value is digits * 10^exponent; its leading digit stands at 10^(count-1+exponent).
            int integerDigits = count + exponent;
            if (integerDigits > MaxDigits || integerDigits < -(MaxScale - 1)) return DecimalFit.OutOfRange;
            int scale = Math.Max(0, -exponent);
            int mantissaDigits = count + Math.Max(0, exponent);
            if (integerDigits == MaxDigits && IntegerPartAboveMax(digits[..count], integerDigits)) return DecimalFit.OutOfRange;
            if (scale > MaxScale || mantissaDigits > MaxDigits) return DecimalFit.TooManyDigits;

            UInt128 mantissa = 0;
            for (int d = 0; d < mantissaDigits; d++) mantissa = mantissa * 10 + (d < count ? digits[d] : 0u);
            if (mantissa > MaxMantissa) return scale == 0 ? DecimalFit.OutOfRange : DecimalFit.TooManyDigits;
            value = new decimal((int)(uint)mantissa, (int)(uint)(mantissa >> 32), (int)(uint)(mantissa >> 64), negative, (byte)scale);
            return DecimalFit.Exact;
        }

        /// <summary>Whether the integer part, 29 digits long, exceeds decimal's largest value.</summary>
        private static bool IntegerPartAboveMax(ReadOnlySpan<byte> digits, int integerDigits)
        {
            ReadOnlySpan<byte> max = "79228162514264337593543950335"u8;
            for (int d = 0; d < integerDigits; d++)
            {
                int digit = d < digits.Length ? digits[d] : 0;
                if (digit != max[d] - '0') return digit > max[d] - '0';
            }
            return false;
        }

        private static bool ReadExponent(ReadOnlySpan<byte> text, out int power)
        {
            power = 0;
            int i = 0;
            bool negative = false;
            if (i < text.Length && (text[i] == '-' || text[i] == '+'))
            {
                negative = text[i] == '-';
                i++;
            }
            if (i == text.Length) return false;
            for (; i < text.Length; i++)
            {
                int d = text[i] - '0';
                if (d < 0 || d > 9 || power > 100000) return false;
                power = power * 10 + d;
            }
            if (negative) power = -power;
            return true;
        }
    }
}
