#include "Facts.h"

#include <cstdio>

namespace {

std::string HexOf(const std::uint8_t* Bytes, std::size_t Count) {
    std::string Text;
    char Digits[3];
    for (std::size_t i = 0; i < Count; ++i) {
        std::snprintf(Digits, sizeof Digits, "%02x", Bytes[i]);
        Text += Digits;
    }
    return Text;
}

std::string Indexed(const std::string& Name, std::size_t Index) {
    return Name + "[" + std::to_string(Index) + "]";
}

}  // namespace

void FactWriter::Number(const std::string& Name, std::uint64_t Value) const {
    Into[Prefix + Name] = std::to_string(Value);
}

void FactWriter::Number(const std::string& Name, std::size_t Index, std::uint64_t Value) const {
    Number(Indexed(Name, Index), Value);
}

void FactWriter::Hex(const std::string& Name, const std::uint8_t* Bytes, std::size_t Count) const {
    Into[Prefix + Name] = "0x" + HexOf(Bytes, Count);
}

void FactWriter::Hex(const std::string& Name, std::size_t Index, const std::uint8_t* Bytes,
                     std::size_t Count) const {
    Hex(Indexed(Name, Index), Bytes, Count);
}

void FactWriter::Text(const std::string& Name, const char* Characters, std::size_t Count) const {
    std::string Value = "\"";
    for (std::size_t i = 0; i < Count; ++i) {
        const auto Character = static_cast<unsigned char>(Characters[i]);
        if (Character >= 0x20 && Character < 0x7F) {
            Value += static_cast<char>(Character);
        } else {
            char Escape[5];
            std::snprintf(Escape, sizeof Escape, "\\x%02x", Character);
            Value += Escape;
        }
    }
    Into[Prefix + Name] = Value + "\"";
}

std::vector<std::string> CompareFacts(const Facts& Expected, const Facts& Actual,
                                      const std::string& Expected_Label, const std::string& Actual_Label,
                                      const std::function<bool(const std::string&)>& Ignore) {
    std::vector<std::string> Lines;
    auto Skip = [&](const std::string& Name) { return Ignore && Ignore(Name); };
    auto E = Expected.begin();
    auto A = Actual.begin();
    while (E != Expected.end() || A != Actual.end()) {
        if (A == Actual.end() || (E != Expected.end() && E->first < A->first)) {
            if (!Skip(E->first)) Lines.push_back(E->first + ": " + Expected_Label + " " + E->second + ", " +
                                                 Actual_Label + " has no such field");
            ++E;
        } else if (E == Expected.end() || A->first < E->first) {
            if (!Skip(A->first)) Lines.push_back(A->first + ": " + Expected_Label + " has no such field, " +
                                                 Actual_Label + " " + A->second);
            ++A;
        } else {
            if (E->second != A->second && !Skip(E->first))
                Lines.push_back(E->first + ": " + Expected_Label + " " + E->second + ", " + Actual_Label + " " +
                                A->second);
            ++E;
            ++A;
        }
    }
    return Lines;
}

std::string DescribeDifferences(const std::vector<std::string>& Lines, std::size_t Limit) {
    std::string Text = std::to_string(Lines.size()) + " difference(s):";
    for (std::size_t i = 0; i < Lines.size() && i < Limit; ++i) Text += "\n  " + Lines[i];
    if (Lines.size() > Limit) Text += "\n  ...";
    return Text;
}
