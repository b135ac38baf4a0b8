#pragma once

// log10(x) as the analysis computes it: ln(x) / ln(10) in extended precision. The
// logarithm of zero raises "Floating point division by zero", as the processor
// reports it; a count of zero boxes stops an analysis that way.
long double Log10(long double x);
