// The content of one information file as a flat list of named values, the
// common ground on which two independent readers of the same file are
// compared. A name is the path of a field in the file's structure, in the
// library's own field names ("PGCIT.PGCs[2].Cell_Playback[0].Last_VOBU_End_Sector");
// a value is its number or its bytes in hexadecimal. Both readers describe a
// field under the same name and in the same form, so comparing two lists
// compares the files field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

using Facts = std::map<std::string, std::string>;

// Collects facts under a name prefix ("PGCIT.PGCs[2].").
class FactWriter {
public:
    FactWriter(Facts& Into, std::string Prefix) : Into(Into), Prefix(std::move(Prefix)) {}

    FactWriter Sub(const std::string& Name) const { return FactWriter(Into, Prefix + Name + "."); }
    FactWriter Sub(const std::string& Name, std::size_t Index) const {
        return FactWriter(Into, Prefix + Name + "[" + std::to_string(Index) + "].");
    }

    void Number(const std::string& Name, std::uint64_t Value) const;
    void Number(const std::string& Name, std::size_t Index, std::uint64_t Value) const;
    void Hex(const std::string& Name, const std::uint8_t* Bytes, std::size_t Count) const;
    void Hex(const std::string& Name, std::size_t Index, const std::uint8_t* Bytes, std::size_t Count) const;
    void Text(const std::string& Name, const char* Characters, std::size_t Count) const;

private:
    Facts& Into;
    std::string Prefix;
};

// One line per name whose values differ, or that only one list holds:
// "name: <Expected_Label> 12, <Actual_Label> 13". Names for which Ignore
// answers true are left out. Empty when the lists agree.
std::vector<std::string> CompareFacts(const Facts& Expected, const Facts& Actual,
                                      const std::string& Expected_Label, const std::string& Actual_Label,
                                      const std::function<bool(const std::string&)>& Ignore = {});

// The lines above joined into one message, at most Limit of them.
std::string DescribeDifferences(const std::vector<std::string>& Lines, std::size_t Limit = 60);
