// Encodes a snapshot the way a host would, frames it, and reads it back through the installed
// library; also decodes a command as the helper writes it. Exit status 0 when all agree.

#include <iostream>
#include <tavu/line_decoder.hpp>
#include <tavu/wire_codec.hpp>

int main()
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.generation = 3;
    snapshot.lifecycle = LiveTranslationHelperLifecycle::listening;
    snapshot.committedCards.push_back({"c1", "Hallo", "Hello", 700000000});
    const std::string line
        = encodeHostMessage(LiveTranslationHelperHostMessage::makeSnapshot(snapshot));
    LiveTranslationHelperLineDecoder decoder;
    const auto messages = decoder.append(line + "\n");
    WireDecoder commands;
    const auto command
        = commands.decodeCommand(R"({"type":"set_target_language","string_value":"en"})");
    if (messages.size() != 1 || messages[0].snapshot != snapshot || !command
        || *command.value != LiveTranslationHelperCommand::setTargetLanguage("en")) {
        std::cerr << "the installed library did not read back " << line << "\n";
        return 1;
    }
    std::cout << "consumer ok\n";
    return 0;
}
