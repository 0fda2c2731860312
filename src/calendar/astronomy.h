#pragma once
// The little astronomy the lunisolar calendar needs: instants of new moons
// and of the Sun reaching a given apparent longitude, as Julian Ephemeris
// Days (Terrestrial Time), and the step from Terrestrial Time to universal
// time. Accurate to well under a minute for the years 1860-2150.
namespace vn::cal::astro {

constexpr double kJ2000 = 2451545.0;

// Mean number of lunations since the new moon of 2000-01-06 for a Julian day.
double LunationNumber(double jde);
// Instant of the new moon of lunation k (integer; 0 = 2000-01-06).
double NewMoonJde(int k);

// Apparent geocentric longitude of the Sun in degrees (0..360), with
// nutation and aberration, for an instant in Terrestrial Time.
double SunApparentLongitude(double jde);
// The instant when the Sun's apparent longitude equals `degrees`, searched
// near the estimate jdeNear (within a few weeks of it).
double SunLongitudeInstant(double degrees, double jdeNear);

// Terrestrial Time minus universal time, in seconds, for a decimal year.
double DeltaTSeconds(double year);
// Universal time (as a Julian day) of an instant in Terrestrial Time.
double JdeToJdUt(double jde);

} // namespace vn::cal::astro
