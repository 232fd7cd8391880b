#pragma once

class QWidget;

namespace orv {

// Closes `window` the ordinary way (placement saved, workers released) when
// the process is asked to end with SIGTERM or SIGINT, as at session logout.
void CloseOnTerminationSignals(QWidget* window);

}  // namespace orv
