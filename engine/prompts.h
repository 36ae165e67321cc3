// Every question, input box and message of the program goes through this interface.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::engine {

/// The buttons a question box can offer.
enum class Button { Ok, Cancel, Yes, No, Abort, Retry, Ignore, All };

/// The kind of box, which decides its icon.
enum class Severity { Information, Confirmation, Warning, Error };

/// A question with typed buttons.
struct Question
{
    std::string id; ///< the constant the text comes from, e.g. "UN_FILE_O_TUTTI"
    Severity severity = Severity::Confirmation;
    std::u32string text;
    std::vector<Button> buttons;
    /// The button Enter presses. Always the answer that changes nothing on disk, so a
    /// reflex Enter can never start something risky; none means the first button.
    std::optional<Button> defaultButton;
};

/// An input box: caption, prompt and the editable text.
struct InputRequest
{
    std::string id; ///< the constant of the prompt, e.g. "RINOMINA_IN_USO"
    std::u32string caption;
    std::u32string prompt;
    std::u32string text;
    /// The entry the box is about (a refused rename's old name), for a front end that words
    /// its own prompt after its own buttons; empty when the prompt says all.
    std::u32string subject {};
};

/// A file for the program to read, chosen by the user.
struct FileRequest
{
    std::string id; ///< the constant of the caption
    std::u32string caption;
    std::u32string directory; ///< where the choice starts
};

/// The answer to the box that offers another name for a rename the system refused.
struct RetryAnswer
{
    enum class Action {
        Retry, ///< try again with `name`
        Skip, ///< this entry keeps its name
        SkipAll, ///< this and every later refused entry of the run keep their names
        Stop, ///< this entry keeps its name and the run ends here
    };
    Action action = Action::Skip;
    std::u32string name;
};

/// A message with one OK button.
struct Message
{
    std::string id; ///< the constant of the text, or a name for a program error
    Severity severity = Severity::Information;
    std::u32string text;
    /// Shown exactly as written, never read as markup: for texts that hold what others wrote
    /// (a web server's answer). Front ends that show no markup may ignore it.
    bool plainText = false;
};

/// The GUI answers with modal boxes, the command line and tests answer by script.
class Prompts
{
public:
    virtual ~Prompts() = default;
    /// Returns one of question.buttons.
    [[nodiscard]] virtual Button ask(const Question& question) = 0;
    /// The edited text on OK, nullopt on Cancel.
    [[nodiscard]] virtual std::optional<std::u32string> input(const InputRequest& request) = 0;
    virtual void tell(const Message& message) = 0;
    /// The box of a refused rename. By default the input box: OK retries with the edited
    /// name, Cancel skips the entry; front ends that can offer more override it.
    [[nodiscard]] virtual RetryAnswer askRenameRetry(const InputRequest& request);
    /// The path of an existing file the user chose, nullopt on Cancel. By default nothing
    /// is chosen: front ends without a file dialog never offer one.
    [[nodiscard]] virtual std::optional<std::u32string> chooseFile(const FileRequest& request);
};

} // namespace quorvane::engine
