#include "cli/terminal_prompter.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ostream>
#include <utility>
#include <vector>

#include "cli/stop_signals.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm::cli {

namespace {

// The terminal settings to put back when Ctrl+C arrives while echo is off.
struct termios g_savedTermios;
int g_savedFd = -1;
struct sigaction g_previousInt;

extern "C" void RestoreEchoAndQuit(int sig) {
    if (g_savedFd >= 0) ::tcsetattr(g_savedFd, TCSANOW, &g_savedTermios);
    ::sigaction(SIGINT, &g_previousInt, nullptr);
    ::raise(sig);
}

struct Choice {
    Answer answer;
    std::string label;  // the button text without its '&'
    char key;           // the letter that picks it (lower case)
    // Words a shell user types for it as well: OK is a yes, Cancel a no.
    std::vector<std::string> aliases;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

Choice MakeChoice(Answer answer, const std::string& buttonText, char fallback, std::vector<std::string> aliases) {
    Choice c{answer, {}, 0, std::move(aliases)};
    for (std::size_t i = 0; i < buttonText.size(); ++i) {
        if (buttonText[i] == '&' && i + 1 < buttonText.size()) {
            if (!c.key) c.key = static_cast<char>(std::tolower(static_cast<unsigned char>(buttonText[i + 1])));
            continue;
        }
        c.label += buttonText[i];
    }
    if (c.label.empty()) c.label = std::string(1, fallback);
    if (!c.key) c.key = static_cast<char>(std::tolower(static_cast<unsigned char>(c.label[0])));
    // The letter is listed once, and no alias repeats the label.
    const std::string key(1, c.key);
    std::erase_if(c.aliases, [&](const std::string& a) { return a == key || a == Lower(c.label); });
    c.aliases.insert(c.aliases.begin(), key);
    return c;
}

bool Takes(const Choice& c, const std::string& lower) {
    return lower == Lower(c.label) || std::find(c.aliases.begin(), c.aliases.end(), lower) != c.aliases.end();
}

// "[OK (o, yes, y) / Cancel (c, no, n)] ": every answer each choice takes.
std::string Prompt(const std::vector<Choice>& choices) {
    std::string prompt = "[";
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (i) prompt += " / ";
        prompt += choices[i].label + " (";
        for (std::size_t k = 0; k < choices[i].aliases.size(); ++k)
            prompt += (k ? ", " : "") + choices[i].aliases[k];
        prompt += ")";
    }
    return prompt + "] ";
}

}  // namespace

TerminalPrompter::TerminalPrompter(std::ostream& err, const LanguageTable* language, int inputFd)
    : err_(err), language_(language), inputFd_(inputFd) {}

std::string TerminalPrompter::Text(std::uint32_t id) const { return language_ ? language_->TextString(id) : ""; }

bool TerminalPrompter::Interactive() const { return ::isatty(inputFd_) == 1; }

void TerminalPrompter::Show(const Message& message) {
    ++shown_;
    if (!message.caption.empty()) err_ << message.caption << ": ";
    err_ << message.text << "\n";
    err_.flush();
}

bool TerminalPrompter::ReadLine(std::string& line, bool echo) const {
    line.clear();
    struct termios saved {};
    const bool hide = !echo && ::tcgetattr(inputFd_, &saved) == 0;
    if (hide) {
        g_savedTermios = saved;
        g_savedFd = inputFd_;
        struct sigaction sa {};
        sa.sa_handler = RestoreEchoAndQuit;
        ::sigemptyset(&sa.sa_mask);
        ::sigaction(SIGINT, &sa, &g_previousInt);
        struct termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(inputFd_, TCSANOW, &quiet);
    }
    bool gotAny = false;
    bool ended = false;
    char c = 0;
    while (true) {
        const ssize_t n = ::read(inputFd_, &c, 1);
        // A stop asked for while a question waits answers it with its end.
        if (n < 0 && errno == EINTR && StopSignals::Received() == 0) continue;
        if (n <= 0) break;
        gotAny = true;
        if (c == '\n') {
            ended = true;
            break;
        }
        if (c != '\r') line += c;
    }
    if (hide) {
        ::tcsetattr(inputFd_, TCSANOW, &saved);
        ::sigaction(SIGINT, &g_previousInt, nullptr);
        g_savedFd = -1;
    }
    return ended || (gotAny && !line.empty());
}

Answer TerminalPrompter::Ask(const Message& message) {
    std::vector<Choice> choices;
    switch (message.buttons) {
        case Buttons::Ok:
            Show(message);
            return Answer::Ok;
        case Buttons::OkCancel:
            choices = {MakeChoice(Answer::Ok, Text(tid::kButtonOk), 'o', {"yes", "y"}),
                       MakeChoice(Answer::Cancel, Text(tid::kButtonCancel), 'c', {"no", "n"})};
            break;
        case Buttons::YesNo:
            choices = {MakeChoice(Answer::Yes, Text(tid::kButtonYes), 'y', {"yes", "y", "ok"}),
                       MakeChoice(Answer::No, Text(tid::kButtonNo), 'n', {"no", "n"})};
            break;
        case Buttons::YesNoCancel:
            choices = {MakeChoice(Answer::Yes, Text(tid::kButtonYes), 'y', {"yes", "y"}),
                       MakeChoice(Answer::No, Text(tid::kButtonNo), 'n', {"no", "n"}),
                       MakeChoice(Answer::Cancel, Text(tid::kButtonCancel), 'c', {"cancel"})};
            break;
    }
    // The safe answer: Cancel where there is one, else No.
    const Choice& safe = choices.back();
    const Choice& yes = choices.front();

    // --yes has answered before the question was asked.
    if (assumeYes_) return yes.answer;
    Show(message);
    if (!Interactive()) {
        err_ << FormatText(Text(tid::kCliNoTerminal), {safe.label}) << "\n";
        return safe.answer;
    }

    const std::string prompt = Prompt(choices);
    for (int attempt = 0; attempt < 5; ++attempt) {
        err_ << prompt;
        err_.flush();
        std::string line;
        if (!ReadLine(line, true)) {
            err_ << "\n";
            return safe.answer;
        }
        std::string answer = line;
        while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back()))) answer.pop_back();
        while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.front()))) answer.erase(0, 1);
        if (answer.empty()) {
            for (const Choice& c : choices)
                if (c.answer == message.defaultAnswer) return c.answer;
            return safe.answer;
        }
        const std::string lower = Lower(answer);
        for (const Choice& c : choices)
            if (Takes(c, lower)) return c.answer;
    }
    return safe.answer;
}

PasswordResult TerminalPrompter::AskPassword(PasswordGate& gate) {
    if (password_) {
        // One entry: trying the same one again would fare no better, and the
        // command says that the password was wrong.
        if (gate.Submit(password_->substr(0, gate.MaxLength())) == PasswordGate::Verdict::Accepted)
            return PasswordResult::Accepted;
        return PasswordResult::Refused;
    }
    if (!Interactive()) {
        ++shown_;
        err_ << FormatText(Text(tid::kCliPasswordNeeded), {subject_}) << "\n";
        return PasswordResult::Cancelled;
    }
    while (true) {
        std::string prompt = Text(tid::kCliPasswordPrompt);
        if (!prompt.empty() && prompt.back() != ' ') prompt += ' ';
        err_ << prompt;
        err_.flush();
        std::string entry;
        if (!ReadLine(entry, false)) {
            err_ << "\n";
            return PasswordResult::Cancelled;
        }
        if (entry.size() > gate.MaxLength()) entry.resize(gate.MaxLength());
        switch (gate.Submit(entry)) {
            case PasswordGate::Verdict::Accepted: return PasswordResult::Accepted;
            case PasswordGate::Verdict::Refused: return PasswordResult::Refused;
            case PasswordGate::Verdict::TryAgain: Show(gate.WrongEntryMessage()); break;
        }
    }
}

}  // namespace vrm::cli
