#include <sstream>
#include <vector>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/help_text.h"
#include "cli/options.h"
#include "docgen/completion.h"

namespace rvq::docgen {

namespace {

bool IsChoiceChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-';
}

// "html|wmon" -> {html, wmon}: the literal words of a list of alternatives
// (placeholders such as HH,HH,HH or FILE are upper case and left out);
// nothing unless two or more remain.
std::vector<std::string> Choices(const std::string& text) {
    std::vector<std::string> words;
    bool literal = true;
    std::string word;
    for (char c : text + "|") {
        if (c != '|') {
            literal = literal && IsChoiceChar(c);
            word += c;
            continue;
        }
        if (!word.empty() && literal) words.push_back(word);
        word.clear();
        literal = true;
    }
    return words.size() >= 2 && text.find('|') != std::string::npos ? words
                                                                    : std::vector<std::string>{};
}

struct CommandSyntax {
    std::string name;
    std::string summary;
    std::vector<std::string> options;  // every --option its usage names
    std::vector<std::pair<std::string, std::vector<std::string>>> valueChoices;  // --type html|wmon
    std::vector<std::string> firstOperand;  // counter-clear all|feed|print|cut
};

// What completion can read from a command's usage text.
CommandSyntax ReadUsage(const cli::Command& command) {
    CommandSyntax syntax{command.name, command.summary, {}, {}, {}};
    // The global options are offered anyway.
    for (const std::string& option : cli::UsageOptions(command)) {
        bool global = false;
        for (const cli::GlobalOptionSpec& o : cli::GlobalOptionSpecs())
            global = global || option == o.name;
        if (!global) syntax.options.push_back(option);
    }
    // A list of alternatives may go on in the next line ("a|b|\n        c").
    std::string usage;
    for (const char* c = command.usage; *c != '\0'; ++c) {
        usage += *c;
        if (*c == '|' && c[1] == '\n') {
            ++c;
            while (c[1] == ' ') ++c;
        }
    }
    for (const std::string& option : syntax.options) {
        const std::size_t at = usage.find(option + " ");
        if (at == std::string::npos) continue;
        const std::size_t value = at + option.size() + 1;
        const auto choices =
            Choices(usage.substr(value, usage.find_first_of(" ]\n", value) - value));
        if (!choices.empty()) syntax.valueChoices.emplace_back(option, choices);
    }
    syntax.firstOperand = Choices(usage.substr(0, usage.find_first_of(" [\n")));
    return syntax;
}

std::string Join(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

std::vector<std::string> GlobalNames(bool withValue) {
    std::vector<std::string> names;
    for (const cli::GlobalOptionSpec& o : cli::GlobalOptionSpecs()) {
        const bool takes = o.value != OptionValue::None && o.value != OptionValue::Optional;
        if (takes != withValue) continue;
        names.emplace_back(o.name);
        if (*o.shortName != '\0') names.emplace_back(o.shortName);
    }
    return names;
}

std::vector<std::string> GlobalNames(OptionValue kind) {
    std::vector<std::string> names;
    for (const cli::GlobalOptionSpec& o : cli::GlobalOptionSpecs())
        if (o.value == kind) names.emplace_back(o.name);
    return names;
}

std::string Alternatives(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : "|") + w;
    return out;
}

// Text inside single quotes of a shell word.
std::string Quoted(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out;
}

// A description inside the brackets of an _arguments spec, within single quotes.
std::string ZshDescription(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '[' || c == ']' || c == '\\') out += '\\';
        out += c;
    }
    return Quoted(out);
}

}  // namespace

std::string BashCompletion() {
    std::vector<std::string> globals, commands;
    for (const cli::GlobalOptionSpec& o : cli::GlobalOptionSpecs()) {
        globals.push_back(o.name + std::string(o.value == OptionValue::Optional ? "=" : ""));
        if (*o.shortName != '\0') globals.emplace_back(o.shortName);
    }
    std::vector<CommandSyntax> syntax;
    for (const cli::Command& c : cli::Commands()) {
        syntax.push_back(ReadUsage(c));
        commands.emplace_back(c.name);
    }
    std::ostringstream out;
    out << "# bash completion for rvqtool                              -*- shell-script -*-\n"
           "# Made from rvqtool's command and option tables when the program was built.\n\n"
           "_rvqtool()\n{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local globals='"
        << Join(globals) << "'\n    local commands='" << Join(commands) << "'\n\n"
        << "    case $prev in\n"
        << "        " << Alternatives(GlobalNames(OptionValue::File)) << ")\n"
        << "            COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
        << "        " << Alternatives(GlobalNames(OptionValue::Model)) << ")\n"
        << "            COMPREPLY=($(compgen -W \"$(rvqtool models 2>/dev/null)\" -- \"$cur\")); "
           "return ;;\n";
    for (const cli::GlobalOptionSpec& o : cli::GlobalOptionSpecs()) {
        if (const auto choices = Choices(o.valueName);
            !choices.empty() && o.value == OptionValue::Text)
            out << "        " << o.name << ")\n            COMPREPLY=($(compgen -W '"
                << Join(choices) << "' -- \"$cur\")); return ;;\n";
    }
    out << "        " << Alternatives(GlobalNames(OptionValue::Text)) << ")\n"
        << "            COMPREPLY=(); return ;;\n"
        << "    esac\n\n"
        << "    # The command is the first word that is neither an option nor its value.\n"
        << "    local i word command= operands=0\n"
        << "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
        << "        word=${COMP_WORDS[i]}\n"
        << "        case $word in\n"
        << "            " << Alternatives(GlobalNames(true)) << ") ((i++)) ;;\n"
        << "            -*) ;;\n"
        << "            *) if [[ -z $command ]]; then command=$word; else ((operands++)); fi ;;\n"
        << "        esac\n"
        << "    done\n"
        << "    if [[ -z $command ]]; then\n"
        << "        if [[ $cur == -* ]]; then\n"
        << "            COMPREPLY=($(compgen -W \"$globals\" -- \"$cur\"))\n"
        << "        else\n"
        << "            COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))\n"
        << "        fi\n"
        << "        return\n"
        << "    fi\n\n"
        << "    local own= first=\n"
        << "    case $command in\n";
    for (const CommandSyntax& c : syntax) {
        out << "        " << c.name << ")\n            own='" << Join(c.options) << "'";
        if (!c.firstOperand.empty()) out << " first='" << Join(c.firstOperand) << "'";
        out << "\n";
        if (!c.valueChoices.empty()) {
            out << "            case $prev in\n";
            for (const auto& [option, choices] : c.valueChoices)
                out << "                " << option << ") COMPREPLY=($(compgen -W '"
                    << Join(choices) << "' -- \"$cur\")); return ;;\n";
            out << "            esac\n";
        }
        out << "            ;;\n";
    }
    out << "    esac\n"
        << "    if [[ $cur == -* ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"$own $globals\" -- \"$cur\"))\n"
        << "    elif [[ -n $first && $operands -eq 0 ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"$first\" -- \"$cur\"))\n"
        << "    else\n"
        << "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        << "    fi\n"
        << "} &&\n"
        << "    complete -o filenames -F _rvqtool rvqtool\n";
    return out.str();
}

std::string ZshCompletion() {
    std::ostringstream out;
    out << "#compdef rvqtool\n"
           "# Made from rvqtool's command and option tables when the program was built.\n\n"
           "_rvqtool() {\n"
           "    local curcontext=$curcontext state line ret=1\n"
           "    local -a globals commands own\n"
           "    globals=(\n";
    for (const cli::GlobalOptionSpec& o : cli::GlobalOptionSpecs()) {
        std::string action;
        switch (o.value) {
            case OptionValue::None:
                break;
            case OptionValue::Optional:
                action = "::filter: ";
                break;
            case OptionValue::File:
                action = ":file:_files";
                break;
            case OptionValue::Model:
                action = ":model:->models";
                break;
            case OptionValue::Text: {
                const auto choices = Choices(o.valueName);
                action =
                    ":value:" + (choices.empty() ? std::string(" ") : "(" + Join(choices) + ")");
                break;
            }
        }
        const std::string described = "[" + ZshDescription(o.help) + "]" + Quoted(action) + "'";
        if (*o.shortName != '\0') {
            out << "        '(" << o.shortName << " " << o.name << ")'{" << o.shortName << ","
                << o.name << "}'" << described << "\n";
        } else {
            out << "        '" << o.name << (o.value == OptionValue::Optional ? "=-" : "")
                << described << "\n";
        }
    }
    out << "    )\n    commands=(\n";
    for (const cli::Command& c : cli::Commands()) {
        std::string summary;
        for (char ch : std::string(c.summary))
            summary += ch == ':' ? std::string("\\:") : std::string(1, ch);
        out << "        '" << c.name << ":" << Quoted(summary) << "'\n";
    }
    out << "    )\n"
           "    _arguments -C $globals '1:command:->command' '*::argument:->argument' && ret=0\n"
           "    case $state in\n"
           "        command) _describe -t commands command commands && ret=0 ;;\n"
           "        models) compadd -- ${(f)\"$(rvqtool models 2>/dev/null)\"} && ret=0 ;;\n"
           "        argument)\n"
           "            case $words[1] in\n";
    for (const cli::Command& c : cli::Commands()) {
        const CommandSyntax syntax = ReadUsage(c);
        out << "                " << c.name << ") own=(";
        for (const auto& option : syntax.options) out << " '" << option << "'";
        out << " ) ;;\n";
    }
    out << "            esac\n"
           "            _arguments $globals $own '*:file:_files' && ret=0\n"
           "            ;;\n"
           "    esac\n"
           "    return ret\n"
           "}\n\n"
           "_rvqtool \"$@\"\n";
    return out.str();
}

}  // namespace rvq::docgen
