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
};

/// An input box: caption, prompt and the editable text.
struct InputRequest
{
    std::string id; ///< the constant of the prompt, e.g. "RINOMINA_IN_USO"
    std::u32string caption;
    std::u32string prompt;
    std::u32string text;
};

/// A message with one OK button.
struct Message
{
    std::string id; ///< the constant of the text, or a name for a program error
    Severity severity = Severity::Information;
    std::u32string text;
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
};

} // namespace quorvane::engine
