#include "dustplot/plot_errors.h"

#include <cstring>

EFileError::EFileError(const std::string& file, int error)
    : EPlotFailure(file + ": " + std::strerror(error)) {}
