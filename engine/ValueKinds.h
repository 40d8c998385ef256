#pragma once
// Values that are not plain numbers - times and dates - beside the plain numbers: the text a
// register of each kind shows, its receipt mark, and the arithmetic across kinds.
//
//   time ± time = time          time × number = number × time = number (hours × number)
//   time ÷ number = time        time ÷ time = number
//   date − date = days          date ± days = days + date = date (whole days)
// Every other mixture (a time and a plain number added, a date multiplied, a percent with a
// time or a date) is a failed result, shown as the error form. Times keep whole seconds
// exactly; a time divided is rounded to the nearest second, half a second away from zero.
#include "CalcNum.h"
#include "HistoryEntry.h"

#include <string>

namespace bansho {

// The receipt mark of a register's kind, and back.
RowMark MarkOfKind(ValueKind kind);
ValueKind KindOfMark(RowMark mark);

// A time or a date as the display shows it ("1,234:05:00", "2026-12-07"); with
// `separators` false, as the clipboard takes it ("1234:05:00"). A plain number: its text.
std::string ValueText(const TCalcNum& n, bool separators);

// A receipt row of a time or a date: the glyph, then the value, its last character in the
// column before the points of the plain rows (23) so that seconds and days stand under units.
std::string KindRowText(char ope, const TCalcNum& n);

// dst := dst ope src for registers of any kind. Two plain numbers go to CalcNumbers unchanged;
// the rest as above. An empty dst counts as a zero of src's kind for + and −. Returns false,
// with the text in *badText, when a plain operand does not read as a number.
bool CalcValues(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount, bool bothEnds,
                std::string* badText);

// CalcValues under the decimal selection (decimals >= 0; at F it is CalcValues). Two plain
// numbers as CalcSelected takes them, the exact result rounded once. A time keeps its whole
// seconds and a date its day, never rounded to the selected places; a plain number worked from
// them (hours × a rate, a time ÷ a time, the days between dates) is rounded to the selection.
bool CalcValuesSelected(TCalcNum& dst, TCalcNum& src, char ope, char mode, int acount,
                        bool bothEnds, int decimals, int rule, std::string* badText);

// A time as decimal hours, a plain number written as results are (8:45:00 -> 8.75).
TCalcNum HoursOfTime(const TCalcNum& time, int acount);
// A plain number of hours as a time (8.75 -> 8:45:00); an error when it is no number or past
// the limit.
TCalcNum TimeOfHours(const TCalcNum& hours);

} // namespace bansho
