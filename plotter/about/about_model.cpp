#include "plotter/about/about_model.h"

#include "ondrix/version.h"

namespace ondrix::about {

std::string Caption() {
    return std::string("About ") + kTitle;
}

std::string VersionText() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::string TitleText() {
    return kTitle;
}

}  // namespace ondrix::about
