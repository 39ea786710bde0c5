#include "input_undo.h"

#include <QAction>
#include <utility>

TInputUndo::TStep::TStep(TInputUndo* undo, TEarthingInput before) : undo_(undo), before_(std::move(before)) {
    ++undo_->open_;
}

TInputUndo::TStep::~TStep() {
    undo_->Finish(before_);
}

TInputUndo::TInputUndo(QObject* parent, QAction* undo, QAction* redo, std::function<TEarthingInput()> read,
                       std::function<void(const TEarthingInput&)> apply)
    : QObject(parent), undo_(undo), redo_(redo), read_(std::move(read)), apply_(std::move(apply)) {
    setObjectName(QStringLiteral("InputUndo"));
    connect(undo_, &QAction::triggered, this, &TInputUndo::Undo);
    connect(redo_, &QAction::triggered, this, &TInputUndo::Redo);
    UpdateActions();
}

TInputUndo::TStep TInputUndo::Remember() {
    return TStep(this, read_());
}

void TInputUndo::Finish(const TEarthingInput& before) {
    if (--open_ > 0)
        return;
    history_.Record(before, read_());
    UpdateActions();
}

void TInputUndo::Undo() {
    if (open_ == 0)
        Go(history_.Undo(read_()));
}

void TInputUndo::Redo() {
    if (open_ == 0)
        Go(history_.Redo(read_()));
}

void TInputUndo::Go(std::optional<TEarthingInput> inputs) {
    if (inputs)
        apply_(*inputs);
    UpdateActions();
}

void TInputUndo::UpdateActions() {
    undo_->setEnabled(history_.CanUndo());
    redo_->setEnabled(history_.CanRedo());
}
