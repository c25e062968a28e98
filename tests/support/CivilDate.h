// The tests' own calendar arithmetic, apart from the program's, so that the
// two can be checked against each other.
#pragma once

// Days since 1 March of year 0 on the Gregorian calendar; linear in the day,
// so 29 February of a common year counts as 1 March, as the program's does.
inline long CivilDays(int year, int month, int day)
{
    year -= month <= 2;
    long era = year / 400;
    long yearOfEra = year - era * 400;
    long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

inline int Weekday(int year, int month, int day)
{
    return (int)((CivilDays(year, month, day) + 3) % 7); // 1 March 2000 was a Wednesday
}

inline int DaysIn(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : days[month - 1];
}
