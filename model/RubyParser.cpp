// parseRuby: groups the tokens of one text node into plain and ruby units.

#include "model/RubySyntax.h"

namespace {

bool isReading(int32_t kind)
{
    return kind >= RubySyntaxToken::AngleLast && kind <= RubySyntaxToken::DoubleAngleMore;
}

bool isAngle(int32_t kind)
{
    return kind == RubySyntaxToken::AngleLast || kind == RubySyntaxToken::AngleMore;
}

bool continuesGroup(int32_t kind)
{
    return kind == RubySyntaxToken::AngleMore || kind == RubySyntaxToken::DoubleAngleMore;
}

RubySyntaxRubyUnit& newRubyUnit(std::vector<RubySyntaxRubyUnit>& units)
{
    units.push_back(RubySyntaxRubyUnit{RubySyntaxRubyUnit::Ruby, nullptr, {}});
    return units.back();
}

} // namespace

int32_t parseRuby(const std::vector<RubySyntaxToken>& tokens, std::vector<RubySyntaxRubyUnit>& units, size_t* failed)
{
    // The index of the token at fault, for an error answered at once.
    const auto fault = [&](size_t index, int32_t error) {
        if (failed)
            *failed = index;
        return error;
    };
    const size_t count = tokens.size();
    size_t i = 0;
    while (i < count) {
        const RubySyntaxToken& token = tokens[i++];
        if (token.kind == RubySyntaxToken::Plain) {
            units.push_back(RubySyntaxRubyUnit{RubySyntaxRubyUnit::Plain, &token, {}});
            continue;
        }
        if (token.kind != RubySyntaxToken::Base)
            return fault(i - 1, 1);
        if (i == count)
            return fault(i - 1, 2);
        const RubySyntaxToken* reading = &tokens[i++];
        if (!isReading(reading->kind))
            return fault(i - 1, 3);
        bool angle = isAngle(reading->kind);
        RubySyntaxRubyUnit* unit = &newRubyUnit(units);
        unit->pairs.push_back(RubySyntaxRubyPair{&token, reading});
        // The pairs of a group: a change of bracket style starts a new unit.
        while (continuesGroup(reading->kind)) {
            if (i == count)
                return fault(i - 1, 4);
            const RubySyntaxToken* base = &tokens[i++];
            if (base->kind != RubySyntaxToken::Base)
                return fault(i - 1, 5);
            if (i == count)
                return fault(i - 1, 6);
            reading = &tokens[i++];
            if (!isReading(reading->kind))
                return fault(i - 1, 7);
            if (isAngle(reading->kind) != angle) {
                angle = !angle;
                unit = &newRubyUnit(units);
            }
            unit->pairs.push_back(RubySyntaxRubyPair{base, reading});
        }
    }
    return 0;
}
