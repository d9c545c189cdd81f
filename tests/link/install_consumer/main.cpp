// Reads back, through the installed library, a framed snapshot it encoded as a host would.

#include <iostream>
#include <tavu/line_decoder.hpp>
#include <tavu/wire_codec.hpp>

int main()
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.committedCards.push_back({"c1", "Hallo", "Hello", 700000000});
    const std::string line
        = encodeHostMessage(LiveTranslationHelperHostMessage::makeSnapshot(snapshot));
    const auto messages = LiveTranslationHelperLineDecoder().append(line + "\n");
    if (messages.size() != 1 || messages[0].snapshot != snapshot) {
        std::cerr << "the installed library did not read back " << line << "\n";
        return 1;
    }
    std::cout << "consumer ok\n";
    return 0;
}
