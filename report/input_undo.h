#pragma once

#include "earthing.h"
#include "input_history.h"

#include <QObject>
#include <functional>

class QAction;

// The undo and redo of the window's inputs, «Отменить» (Ctrl+Z) and «Вернуть» (Ctrl+Shift+Z): each
// user's action that sets the inputs wholesale (a reset, an applied fit, survey or measurement, an
// opened file) is one step. Typing in a field is not: there the keys are the field's own undo.
class TInputUndo : public QObject {
  public:
    // One action on the inputs under way: made by Remember() before the action changes anything, it
    // records the step when it goes, if the inputs then differ from those it found.
    class TStep {
      public:
        ~TStep();
        TStep(const TStep&) = delete;
        TStep& operator=(const TStep&) = delete;

      private:
        friend class TInputUndo;
        TStep(TInputUndo* undo, TEarthingInput before);
        TInputUndo* undo_;
        TEarthingInput before_;
    };

    // Takes over the two actions: triggering them undoes and redoes, and each is enabled only while
    // there is something to undo or redo. `read` and `apply` are the window's ReadInputs and
    // ApplyInputs.
    TInputUndo(QObject* parent, QAction* undo, QAction* redo, std::function<TEarthingInput()> read,
               std::function<void(const TEarthingInput&)> apply);

    // Call before a user's action changes the inputs, and keep the step until the action is over:
    //     const TInputUndo::TStep step = undo->Remember();
    //     ... set the controls ...
    // Steps made while another is under way are part of it: one action, one step.
    [[nodiscard]] TStep Remember();

    void Undo();
    void Redo();

  private:
    void Finish(const TEarthingInput& before);
    void Go(std::optional<TEarthingInput> inputs);
    void UpdateActions();

    QAction* undo_;
    QAction* redo_;
    std::function<TEarthingInput()> read_;
    std::function<void(const TEarthingInput&)> apply_;
    TInputHistory history_;
    int open_ = 0; // steps under way
};
