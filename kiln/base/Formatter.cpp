// The formatting pass: units other than '%' are copied; each directive is
// parsed (position, flags, width, precision, 'l', conversion), its '*'
// arguments and its value are taken from the argument list by position and
// type-checked, and its text is appended. Output collects in a vector and
// becomes a string once at the end.
#include "kiln/base/Formatter.h"

#include "kiln/base/Exception.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace KILN {

namespace {

constexpr const char* ModulePath = "kiln/base/Formatter";
constexpr uint32_t MaxNumber = 0x7FFFFFFF;
// The widest padding a directive may ask for: far beyond any real layout, yet
// a short format can no longer demand gigabytes ("%2147483647d").
constexpr uint32_t MaxPadding = 0xFFFF;

template <class T>
struct Directive {
    uint32_t position = 0;           // of the value
    uint32_t widthPosition = 0;      // of a '*' width; 0 when none
    uint32_t precisionPosition = 0;  // of a '*' precision; 0 when none
    bool left = false;
    bool sign = false;
    bool space = false;
    bool zero = false;
    bool alternate = false;
    uint32_t width = 0;
    bool precisionGiven = false;
    uint32_t precision = 0;
    bool isLong = false;
    T conversion = 0;
};

// A run of decimal digits (possibly empty, giving 0), saturating so that a
// huge number cannot wrap around.
template <class T>
uint32_t readNumber(const T* text, uint32_t length, uint32_t& i)
{
    uint64_t value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > MaxNumber)
            value = MaxNumber;
    }
    return static_cast<uint32_t>(value);
}

// Parses the directive whose '%' precedes text[i]; i moves past it and
// counter past the positions it takes. False when the format ends first.
template <class T>
bool parseDirective(const T* text, uint32_t length, uint32_t& i, uint32_t& counter, Directive<T>& d)
{
    const uint32_t first = counter;
    auto take = [&](char c) {
        if (i < length && text[i] == static_cast<T>(c)) {
            ++i;
            return true;
        }
        return false;
    };
    d.position = counter++;
    if (take('{')) {
        d.position = readNumber(text, length, i);
        take('}');
    }
    d.left = take('-');
    d.sign = take('+');
    d.space = take(' ');
    d.zero = take('0');
    d.alternate = take('#');
    if (take('*')) {
        d.widthPosition = d.position++;
        ++counter;
    } else {
        d.width = readNumber(text, length, i);
    }
    if (take('.')) {
        d.precisionGiven = true;
        if (take('*')) {
            d.precisionPosition = d.position++;
            ++counter;
        } else {
            d.precision = readNumber(text, length, i);
        }
    }
    d.isLong = take('l');
    if (i >= length)
        return false;
    d.conversion = text[i++];
    if (d.conversion == '%')
        counter = first;  // "%%" takes no position
    return true;
}

constexpr uint32_t bit(int32_t type) { return 1u << type; }

// The argument types a conversion accepts; 0 for an unknown conversion.
template <class T>
uint32_t acceptedTypes(const Directive<T>& d)
{
    using A = FmtArg<T>;
    switch (d.conversion) {
    case 'd':
    case 'i':
        return d.isLong ? bit(A::Long) : bit(A::Int);
    case 'u':
        return d.isLong ? bit(A::UnsignedLong) : bit(A::UnsignedInt);
    case 'o':
    case 'x':
    case 'X':
        return bit(A::UnsignedInt);
    case 'c':
        return bit(A::SignedChar) | bit(A::UnsignedChar) | bit(A::Short) | bit(A::UnsignedShort) | bit(A::Int) |
               bit(A::UnsignedInt);
    case 's':
        return bit(A::ZeroTerminated) | bit(A::String);
    case 'f':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
        return bit(A::Double) | bit(A::Float);
    case 'p':
        return bit(A::Pointer) | bit(A::ZeroTerminated) | bit(A::String) | bit(A::CountTarget);
    case 'n':
        return bit(A::CountTarget);
    default:
        return 0;
    }
}

// The type the pre-scan reads for a conversion; -1 ends the pre-scan.
template <class T>
int32_t collectedType(const Directive<T>& d)
{
    using A = FmtArg<T>;
    if (d.isLong)
        return d.conversion == 'd' || d.conversion == 'i' ? A::Long : d.conversion == 'u' ? A::UnsignedLong : -1;
    switch (d.conversion) {
    case 'c':
    case 'd':
    case 'i':
        return A::Int;
    case 'o':
    case 'u':
    case 'x':
    case 'X':
        return A::UnsignedInt;
    case 'e':
    case 'E':
    case 'f':
    case 'g':
    case 'G':
        return A::Double;
    case 'n':
        return A::CountTarget;
    case 'p':
        return A::Pointer;
    case 's':
        return A::ZeroTerminated;
    default:
        return -1;
    }
}

// One run of the formatting pass.
template <class T>
class Pass {
public:
    explicit Pass(const LinkList<FmtArg<T>>& arguments)
    {
        std::unique_ptr<Iterator<FmtArg<T>>> it(arguments.iterator());
        while (it->hasNext())
            m_arguments.push_back(it->next());
    }

    TString<T>* run(const TString<T>& format)
    {
        const T* text = format.data();
        const uint32_t length = format.length();
        uint32_t counter = 1;
        for (uint32_t i = 0; i < length;) {
            if (text[i] != '%') {
                m_out.push_back(text[i++]);
                continue;
            }
            ++i;
            Directive<T> d;
            if (!parseDirective(text, length, i, counter, d))
                break;  // a directive cut short by the end is dropped
            convert(d);
        }
        return new TString<T>(m_out.data(), static_cast<uint32_t>(m_out.size()));
    }

private:
    const FmtArg<T>& argument(uint32_t position, uint32_t accepted) const
    {
        if (position == 0 || position > m_arguments.size())
            throw FmtException(ModulePath, __LINE__, FmtException::MissingArgument);
        const FmtArg<T>& a = *m_arguments[position - 1];
        if (!(accepted & bit(a.type)))
            throw FmtException(ModulePath, __LINE__, FmtException::WrongType);
        return a;
    }

    void convert(Directive<T>& d)
    {
        using A = FmtArg<T>;
        if (d.widthPosition) {
            const int64_t width = argument(d.widthPosition, bit(A::Int)).value.integer;
            d.left = d.left || width < 0;
            d.width = static_cast<uint32_t>(width < 0 ? -width : width);
        }
        if (d.precisionPosition) {
            const int64_t precision = argument(d.precisionPosition, bit(A::Int)).value.integer;
            d.precisionGiven = precision >= 0;
            d.precision = precision >= 0 ? static_cast<uint32_t>(precision) : 0;
        }
        if (d.conversion == '%') {
            m_out.push_back('%');
            return;
        }
        // A string's precision only cuts it short; every other one pads.
        if (d.width > MaxPadding || (d.conversion != 's' && d.precision > MaxPadding))
            throw FmtException(ModulePath, __LINE__, FmtException::TooWide);
        const uint32_t accepted = acceptedTypes(d);
        if (!accepted)
            throw FmtException(ModulePath, __LINE__, FmtException::BadConversion);
        const FmtArg<T>& a = argument(d.position, accepted);
        const uint64_t bits = static_cast<uint64_t>(a.value.integer);
        switch (d.conversion) {
        case 'd':
        case 'i':
            writeInteger(d, a.value.integer < 0 ? 0 - bits : bits, a.value.integer < 0, 10);
            break;
        case 'u':
            writeInteger(d, bits, false, 10);
            break;
        case 'o':
            writeInteger(d, bits, false, 8);
            break;
        case 'x':
        case 'X':
            writeInteger(d, bits, false, 16);
            break;
        case 'c': {
            const T unit = static_cast<T>(a.value.integer);
            emit(d, "", 0, &unit, 1);
            break;
        }
        case 's':
            writeString(d, a);
            break;
        case 'p':
            writePointer(d, a.value.pointer);
            break;
        case 'n':
            if (a.value.pointer)
                *static_cast<int32_t*>(const_cast<void*>(a.value.pointer)) = static_cast<int32_t>(m_out.size());
            break;
        default:  // f e E g G
            writeReal(d, a.value.real);
            break;
        }
    }

    // Spaces up to the width (before, or after with '-'), the narrow prefix,
    // zeros, then the body.
    void emit(const Directive<T>& d, const char* prefix, uint32_t zeros, const T* body, uint32_t n)
    {
        const uint64_t used = std::strlen(prefix) + uint64_t(zeros) + n;
        const size_t spaces = d.width > used ? d.width - used : 0;
        if (!d.left)
            m_out.insert(m_out.end(), spaces, T(' '));
        for (const char* p = prefix; *p; ++p)
            m_out.push_back(static_cast<T>(*p));
        m_out.insert(m_out.end(), zeros, T('0'));
        m_out.insert(m_out.end(), body, body + n);
        if (d.left)
            m_out.insert(m_out.end(), spaces, T(' '));
    }

    void writeInteger(const Directive<T>& d, uint64_t magnitude, bool negative, unsigned base)
    {
        const bool isSigned = d.conversion == 'd' || d.conversion == 'i';
        const char* prefix = negative                    ? "-"
                             : isSigned && d.sign        ? "+"
                             : isSigned && d.space       ? " "
                             : d.alternate && magnitude && d.conversion == 'x' ? "0x"
                             : d.alternate && magnitude && d.conversion == 'X' ? "0X"
                                                                                : "";
        const char* digitSet = d.conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        T digits[24];
        uint32_t n = 0;
        if (!(d.precisionGiven && d.precision == 0 && magnitude == 0)) {
            T reversed[24];
            do {
                reversed[n++] = static_cast<T>(digitSet[magnitude % base]);
                magnitude /= base;
            } while (magnitude);
            for (uint32_t k = 0; k < n; ++k)
                digits[k] = reversed[n - 1 - k];
        }
        const uint64_t used = std::strlen(prefix) + uint64_t(n);
        uint32_t zeros = 0;
        if (d.precisionGiven)
            zeros = d.precision > n ? d.precision - n : 0;
        else if (d.zero && !d.left && d.width > used)
            zeros = static_cast<uint32_t>(d.width - used);
        if (d.conversion == 'o' && d.alternate && zeros == 0 && (n == 0 || digits[0] != '0'))
            zeros = 1;  // the alternate octal form begins with 0
        emit(d, prefix, zeros, digits, n);
    }

    void writeString(const Directive<T>& d, const FmtArg<T>& a)
    {
        static const T null[] = {'(', 'n', 'u', 'l', 'l', ')'};
        const T* body = null;
        uint32_t n = sizeof null / sizeof null[0];
        if (a.type == FmtArg<T>::String && a.value.pointer) {
            const auto* text = static_cast<const TStringPtr<T>*>(a.value.pointer);
            body = text->data();
            n = text->length();
        } else if (a.type == FmtArg<T>::ZeroTerminated && a.value.pointer) {
            // With a precision the array need not be terminated: read no further.
            body = static_cast<const T*>(a.value.pointer);
            const uint32_t bound = d.precisionGiven ? d.precision : MaxNumber;
            for (n = 0; n < bound && body[n] != 0;)
                ++n;
        }
        if (d.precisionGiven && n > d.precision)
            n = d.precision;
        const uint32_t zeros = d.zero && !d.left && d.width > n ? d.width - n : 0;
        emit(d, "", zeros, body, n);
    }

    void writePointer(const Directive<T>& d, const void* pointer)
    {
        char narrow[24];
        const int n = std::snprintf(narrow, sizeof narrow, "%jx", static_cast<uintmax_t>(reinterpret_cast<uintptr_t>(pointer)));
        T digits[24];
        for (int k = 0; k < n; ++k)
            digits[k] = static_cast<T>(narrow[k]);
        emit(d, "0x", 0, digits, static_cast<uint32_t>(n));
    }

    // Through the runtime library with an equivalent narrow directive.
    void writeReal(const Directive<T>& d, double value)
    {
        char format[12];
        char* f = format;
        *f++ = '%';
        for (auto [flag, c] : {std::pair{d.left, '-'}, {d.sign, '+'}, {d.space, ' '}, {d.zero, '0'}, {d.alternate, '#'}}) {
            if (flag)
                *f++ = c;
        }
        *f++ = '*';
        *f++ = '.';
        *f++ = '*';
        *f++ = static_cast<char>(d.conversion);
        *f = 0;
        const int width = static_cast<int>(d.width);
        const int precision = d.precisionGiven ? static_cast<int>(d.precision) : 6;
        const int n = std::snprintf(nullptr, 0, format, width, precision, value);
        if (n <= 0)
            return;
        std::vector<char> narrow(static_cast<size_t>(n) + 1);
        std::snprintf(narrow.data(), narrow.size(), format, width, precision, value);
        for (int k = 0; k < n; ++k)
            m_out.push_back(static_cast<T>(static_cast<unsigned char>(narrow[k])));
    }

    std::vector<const FmtArg<T>*> m_arguments;
    std::vector<T> m_out;
};

} // namespace

template <class T>
void Formatter<T>::clearArguments()
{
    while (FmtArg<T>* a = m_arguments.removeFirst())
        delete a;
}

template <class T>
TString<T>* Formatter<T>::format(bool clear)
{
    TString<T>* out = Pass<T>(m_arguments).run(m_format);
    if (clear)
        clearArguments();
    return out;
}

template <class T>
void Formatter<T>::addArguments(va_list args)
{
    using A = FmtArg<T>;
    // The type each position must be read with; -1 while unknown.
    std::vector<int32_t> types;
    uint32_t limit = MaxNumber;  // positions from here on are not collected
    auto require = [&](uint32_t position, int32_t type, uint32_t accepted) {
        if (position == 0 || position >= limit)
            return;
        if (types.size() < position)
            types.resize(position, -1);
        int32_t& known = types[position - 1];
        if (known < 0)
            known = type;
        else if (!(accepted & bit(known)))
            limit = position;
    };
    const T* text = m_format.data();
    const uint32_t length = m_format.length();
    uint32_t counter = 1;
    for (uint32_t i = 0; i < length;) {
        if (text[i++] != '%')
            continue;
        Directive<T> d;
        if (!parseDirective(text, length, i, counter, d) || d.conversion == '%')
            continue;
        const int32_t type = collectedType(d);
        if (type < 0)
            break;
        require(d.widthPosition, A::Int, bit(A::Int));
        require(d.precisionPosition, A::Int, bit(A::Int));
        require(d.position, type, acceptedTypes(d));
    }

    // Collection ends at the first position whose type is unknown.
    uint32_t known = 0;
    while (known < types.size() && known + 1 < limit && types[known] >= 0)
        ++known;
    va_list list;
    va_copy(list, args);
    for (uint32_t k = 0; k < known; ++k) {
        switch (types[k]) {
        case A::Int:
            addInt(va_arg(list, int));
            break;
        case A::UnsignedInt:
            addUnsignedInt(va_arg(list, unsigned));
            break;
        case A::Long:
            addLong(va_arg(list, long));
            break;
        case A::UnsignedLong:
            addUnsignedLong(va_arg(list, unsigned long));
            break;
        case A::Double:
            addDouble(va_arg(list, double));
            break;
        case A::ZeroTerminated:
            addString(va_arg(list, const T*));
            break;
        case A::CountTarget:
            addCountTarget(va_arg(list, int32_t*));
            break;
        default:
            addPointer(va_arg(list, const void*));
            break;
        }
    }
    va_end(list);
}

template <class T>
TString<T>* Formatter<T>::formatArguments(const T* format, uint32_t length, va_list args)
{
    setFormat(format, length);
    clearArguments();
    addArguments(args);
    try {
        return this->format(true);
    } catch (...) {
        clearArguments();
        throw;
    }
}

template class Formatter<char>;
template class Formatter<unsigned short>;
template class Formatter<unsigned int>;

} // namespace KILN
