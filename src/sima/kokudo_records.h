#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The records of the SIMA common-format file, one line each, without the line
// end. Every field layout of the file registry software receives is fixed here.
namespace parquill::kokudo {

// The Append functions add the same records to the end of `line`, so that a
// writer can build every line in one reused buffer.

// "G00,01,オルベックＬｏｔｗｅａｖｅｒデータ": the first line (no comma at its end).
std::string SimaG00();

// "Z00,/" + s + "/,": a comment record.
std::string SimaZ00(std::string_view s);
void AppendSimaZ00(std::string& line, std::string_view s);

// s + ",": a record with no fields ("A00", "A99", "D99").
std::string SimaTag(std::string_view s);

// The number field of the point and lot records: the number right-aligned in
// five characters ("    1", "15000"); a longer one fills its field alone.

// "A01," + number field + "," + name + "," + X + "," + Y + ",,": one boundary
// point; a point without a name of its own is named "K" + its number.
void AppendSimaA01(std::string& line, int pointNumber, std::string_view pointName, double x,
                   double y);

// "B01," + number field + "," + name + ",": one boundary point of a lot,
// named as in its A01 record.
void AppendSimaB01(std::string& line, int pointNumber, std::string_view pointName);

// "D00," + number field + "," + lot number + "," + closure code + ",": a lot's head.
std::string SimaD00(int regionNumber, std::string_view chiban, std::int16_t closureCode);
void AppendSimaD00(std::string& line, int regionNumber, std::string_view chiban,
                   std::int16_t closureCode);

// A lot number as the Z00 and D00 records hold it: a "," would end the
// field, so it becomes the full-width "，"; double quotes are left out.
std::string SimaChiban(std::string_view chiban);

// A coordinate as plain decimal text: at most 15 significant digits, no
// exponent, no trailing zeros, no zero before the point when the magnitude is
// below 1 ("-12345.678", "200", ".5", "-.25", "0", ".00001"). Zero of either
// sign is "0".
std::string CoordinateText(double value);
void AppendCoordinateText(std::string& line, double value);

}  // namespace parquill::kokudo
