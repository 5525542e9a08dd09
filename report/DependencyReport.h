#pragma once

#include "platform/ProgressDisplay.h"
#include "report/LineSink.h"
#include "source/Project.h"

#include <string>

namespace pembrill {

// What the dependency section reads: the project model, the print setup
// dialog's copy of the project file name and its Levels text, and the unit
// filter's Show list. The progress window's lower line gets a dot for every
// unit file the walk turns to.
struct DependencyReportInput {
    const ProjectModel& Model;
    const std::string& ProjectFileName;
    const std::string& LevelsText;
    const StringList& ShowList;
    ProgressDisplay& Progress;
};

// The form table, the heading and the tree of unit dependencies from the
// main unit down, depth-first in the order names stand in the unit files.
void WriteDependencyReport(const DependencyReportInput& input, LineSink& sink);

} // namespace pembrill
