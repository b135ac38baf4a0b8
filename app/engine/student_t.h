#pragma once

// The t with P(|T| <= t) = 0.95 for Student's distribution with `degreesOfFreedom`
// (at least 1): the factor of a 95 % confidence interval. About six significant digits.
long double StudentT95(int degreesOfFreedom);
