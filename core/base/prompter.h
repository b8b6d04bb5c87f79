// The core asks its user questions and shows messages only through this
// interface. The desktop program shows message boxes and dialogs, the CLI uses
// the terminal and its flags, tests answer from a script and record what was
// asked.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vrm {

enum class MessageKind { Error, Warning, Information, Question };
enum class Buttons { Ok, OkCancel, YesNoCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    MessageKind kind = MessageKind::Error;
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;  // the button that Enter presses
    std::string caption;                // already looked up; "VRM-650T" when no caption text applies
    std::string text;                   // already looked up and formatted
    int textId = 0;                     // the text ID the message was built from (0: none)
    // Buttons with captions of their own ("Open &Backup"), in this order, in
    // place of the usual ones of `buttons`; each answers its Answer. A front
    // end without them shows `buttons`, so both name the same answers.
    std::vector<std::pair<Answer, std::string>> choices;
};

// Result of asking for a data-file password; see PasswordGate.
enum class PasswordResult { Accepted, Refused, Cancelled };

class PasswordGate;

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows the message and waits for the answer. A message with only an OK
    // button answers Ok.
    virtual Answer Ask(const Message& message) = 0;

    // Asks for a password until the gate is satisfied, refuses, or the user
    // cancels. The gate holds the rule (which entry is right, how many tries,
    // which message a wrong entry shows); the prompter only collects entries.
    virtual PasswordResult AskPassword(PasswordGate& gate) = 0;
};

// The rule of the "Input Password" prompt: an entry is compared with the
// expected password; a wrong entry shows a message and may be retried; the
// third wrong entry refuses.
class PasswordGate {
public:
    enum class Verdict { Accepted, TryAgain, Refused };

    // `canonical`, when given, turns an entry into the form `expected` is
    // kept in before the two are compared (a stored password may not keep
    // every character as typed).
    using Canonical = std::function<std::string(const std::string&)>;

    PasswordGate(std::string expected, std::string wrongEntryText, std::string caption,
                 int maxAttempts = 3, std::size_t maxLength = 6, Canonical canonical = {})
        : expected_(std::move(expected)), wrongText_(std::move(wrongEntryText)),
          caption_(std::move(caption)), maxAttempts_(maxAttempts), maxLength_(maxLength),
          canonical_(std::move(canonical)) {}

    // Judges one entry. After TryAgain the prompter shows WrongEntryMessage()
    // and asks again.
    Verdict Submit(const std::string& entry) {
        if ((canonical_ ? canonical_(entry) : entry) == expected_) return Verdict::Accepted;
        ++attempts_;
        return attempts_ >= maxAttempts_ ? Verdict::Refused : Verdict::TryAgain;
    }

    Message WrongEntryMessage() const {
        Message m;
        m.kind = MessageKind::Error;
        m.caption = caption_;
        m.text = wrongText_;
        m.textId = kWrongEntryTextId;
        return m;
    }

    int Attempts() const { return attempts_; }
    int MaxAttempts() const { return maxAttempts_; }
    std::size_t MaxLength() const { return maxLength_; }

    static constexpr int kWrongEntryTextId = 10007027;

private:
    std::string expected_;
    std::string wrongText_;
    std::string caption_;
    int maxAttempts_;
    std::size_t maxLength_;
    Canonical canonical_;
    int attempts_ = 0;
};

}  // namespace vrm
