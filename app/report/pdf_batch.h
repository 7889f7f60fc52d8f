// PDF calculation reports for korvel-run: the Qt Gui session the PDF writer
// needs (on the offscreen platform when no display is given), with a plain
// standard-library interface so that the runner needs no Qt headers.
#pragma once

#include <memory>
#include <string>

#include "design/design_choices.h"

namespace korvel {

class TPdfSession {
  public:
    TPdfSession();
    ~TPdfSession();
    TPdfSession(const TPdfSession&) = delete;
    TPdfSession& operator=(const TPdfSession&) = delete;

    // paper: "" (by the unit system), "a4" or "letter". Writes the report of an
    // analysed data file to pdf_path ("FILE.pdf" beside it); false with the
    // reason in message. design: the choices of the Design Checks section, null
    // for the design file beside the data file.
    bool Write(const std::string& data_file, const std::string& paper, std::string& pdf_path,
               std::string& message, const design::TDesignChoices* design = nullptr);

  private:
    struct TState;
    std::unique_ptr<TState> state_;
};

}  // namespace korvel
