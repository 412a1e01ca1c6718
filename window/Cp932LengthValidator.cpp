#include "window/Cp932LengthValidator.h"

#include <QInputMethodEvent>
#include <QLineEdit>

#include "platform/MessageBox.h"
#include "platform/QtText.h"
#include "resources/Texts.h"

namespace korvane {
namespace {

void TellRefusal(const std::string& refusal) {
  if (!refusal.empty()) AfxMessageBox(refusal, MB_ICONEXCLAMATION);
}

// Qt refuses what an input method commits the way it refuses keys, but tells only of keys:
// a commit is judged here, on the text it would make, and Qt then refuses it as ever.
class CommitWatch : public QObject {
 public:
  CommitWatch(const Cp932LengthValidator& validator, QLineEdit& field)
      : QObject(&field), validator_(validator) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::InputMethod) return false;
    const QString commit = static_cast<QInputMethodEvent*>(event)->commitString();
    const auto* field = static_cast<QLineEdit*>(watched);
    if (commit.isEmpty()) return false;
    QString text = field->text();
    const int start = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    TellRefusal(validator_.Refusal(text.replace(start, static_cast<int>(field->selectedText().size()), commit)));
    return false;
  }

 private:
  const Cp932LengthValidator& validator_;
};

}  // namespace

QValidator::State Cp932LengthValidator::validate(QString& input, int&) const {
  std::string refusal = Refusal(input);
  if (refusal.empty()) return Acceptable;
  lastRefusal_ = std::move(refusal);
  return Invalid;
}

std::string Cp932LengthValidator::Refusal(const QString& text) const {
  // U+FFFD stands for stored bytes that no character stands for: the field may keep them.
  if (!Cp932Holds(QString(text).remove(QChar::ReplacementCharacter).toStdString()))
    return Cp932<text::kCharacterNotStorable>();
  if (ToCp932(text).size() > static_cast<std::size_t>(maxBytes_))
    return FillFormat(Cp932<text::kEntryTooLong>(), {std::to_string(maxBytes_)});
  return {};
}

void LimitToCp932(QLineEdit& field, int maxBytes) {
  auto* validator = new Cp932LengthValidator(maxBytes, &field);
  field.setValidator(validator);
  field.installEventFilter(new CommitWatch(*validator, field));
  // Qt tells that a key was refused, not why: the validator kept the reason.
  QObject::connect(&field, &QLineEdit::inputRejected, &field, [validator] { TellRefusal(validator->LastRefusal()); });
}

void EnterIntoLimited(QLineEdit& field, const QString& text) {
  const std::string refusal = static_cast<const Cp932LengthValidator*>(field.validator())->Refusal(text);
  TellRefusal(refusal);
  if (!refusal.empty()) return;
  field.setText(text);
  field.setModified(true);
}

}  // namespace korvane
