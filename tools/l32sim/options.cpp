#include "options.h"

#include <cerrno>
#include <cstdlib>

namespace l32sim {

const char* const kHelpText =
    "l32sim - plays Logger32's side of the ruDOZ link for tests and demos.\n"
    "\n"
    "Usage: l32sim [options]\n"
    "\n"
    "Ports (Logger32 1 .. Logger32 5, registered window messages):\n"
    "  --port N=MODE        how port N answers a RegisterRequest (wParam 1). MODE is\n"
    "                         grant        post Accepted (0,1) to the window named in\n"
    "                                      lParam; after SpotField (2,h) arrives, post\n"
    "                                      CommandWindow (3, command window handle)\n"
    "                         accept-only  post Accepted (0,1), never CommandWindow\n"
    "                         silent       answer nothing\n"
    "                         zero         post the reply (0,0)\n"
    "                         reply:W,L    post the reply (W,L), decimal numbers\n"
    "                       Without any --port option port 1 grants; ports not named\n"
    "                       stay silent.\n"
    "\n"
    "Feed:\n"
    "  --spots FILE         spot records, one per line (empty lines and lines that\n"
    "                       begin with '#' are skipped), written into the spot field\n"
    "                       with SendMessage(WM_SETTEXT) while SpotFeed is on (3,1)\n"
    "  --rate MS            one record every MS milliseconds (default 1000)\n"
    "  --loop               start the records again after the last one\n"
    "  --freq HZ            a FrequencyReport (100, HZ) to post once the link is up;\n"
    "                       repeat the option for several, posted in order\n"
    "  --freq-every MS      spacing of those reports (default 3000), the first one\n"
    "                       MS after CommandWindow was posted\n"
    "  lParam values go out as a 32-bit program sends them: sign-extended.\n"
  "\n"
  "Measuring:\n"
  "  --receiver           be the bare receiver instead of Logger32: a window of class\n"
  "                       \"Logger32SimReceiver\" holding one plain ANSI edit, the\n"
  "                       floor a spot send cannot beat\n"
  "  --bare               write every spot also into the bare receiver's edit (another\n"
  "                       l32sim run with --receiver), alternating which goes first,\n"
  "                       and log the round trip of that send\n"
  "  --bare-only          write the spots into the bare receiver's edit only, timed\n"
  "                       and logged as with --bare; the feed needs no link (a\n"
  "                       baseline with no ruDOZ running)\n"
    "\n"
    "Run:\n"
    "  --title TEXT         title of the main window (default \"Logger32\")\n"
    "  --start-delay MS     create the main window only after MS milliseconds\n"
    "  --exit-after S       quit after S seconds (fractions allowed)\n"
    "  --log FILE           log file (default: standard output)\n"
    "  --watch CLASS        log the title (GetWindowTextW, as UTF-8) of the top-level\n"
    "                       window of class CLASS whenever it changes\n"
    "  --control FILE       poll FILE for commands appended as lines:\n"
    "                         freq HZ          post a FrequencyReport now\n"
    "                         spot RECORD      write RECORD into the spot field now\n"
    "                         spots FILE       feed the records of FILE at --rate now\n"
    "                         post P W L       post link message of port P (W,L) to\n"
    "                                          the window named in its last request\n"
    "                         send P W L       the same, sent (SendMessage)\n"
    "                         settitle TEXT    set the watched window's title\n"
    "                         paint RRGGBB RECORD  write RECORD into the spot field,\n"
    "                                          then read the screen (GetPixel on the\n"
    "                                          desktop's DC) about every millisecond\n"
    "                                          in the watched window's bottom child\n"
    "                                          until it shows the colour RRGGBB, and\n"
    "                                          its title until it changes (at most 2 s)\n"
    "                         fields           log the watched window's child windows\n"
    "                                          (class, position, WM_GETTEXT as UTF-8)\n"
    "                         close            post WM_CLOSE to the watched window\n"
    "                         create           create the main window now (after a\n"
    "                                          long --start-delay)\n"
    "                         hang MS          handle nothing for MS milliseconds,\n"
    "                                          as a hung Logger32 (then \"note hang over\")\n"
    "                         crash            end at once, as a killed Logger32\n"
    "                         boxes            log how many message boxes (visible\n"
    "                                          #32770 windows of other programs) exist\n"
    "                         quit             end the program\n"
    "  --help               this text\n"
    "\n"
    "Log: one line per event, the milliseconds since start first:\n"
    "  MS recv port=P wParam=W lParam=L posted|sent     a link message received\n"
    "  MS post port=P to=H wParam=W lParam=L             a link message posted\n"
    "  MS sendmsg port=P to=H wParam=W lParam=L result=R  a link message sent\n"
    "  MS command port=P text=TEXT                       a command text received\n"
    "  MS spot port=P to=H result=R us=U text=TEXT       a spot record written, the\n"
    "                                                    send's round trip in microseconds\n"
    "  MS bare to=H us=U                                 the same record into the bare\n"
    "                                                    receiver (--bare, --bare-only)\n"
    "  MS painted send=U colour=RRGGBB us=U title=U x=X y=Y seen=RRGGBB\n"
    "                                                    (paint) microseconds from the\n"
    "                                                    send's start to its return, to\n"
    "                                                    the colour on the screen and to\n"
    "                                                    the new title, -1 when not seen;\n"
    "                                                    the screen point read and its\n"
    "                                                    colour at the end\n"
    "  MS boxes count=N                                  message boxes (boxes)\n"
    "  MS title hwnd=H text=TEXT                         the watched title changed\n"
    "  MS child hwnd=H class=C x=X y=Y visible=V text=TEXT  one child (fields)\n"
    "  MS listed                                         end of the children\n"
    "  MS window|start|exit|note ...                     everything else\n"
    "  MS lookup class=TForm2 title=Form2 hwnd=H         at each RegisterRequest\n"
    "  MS field hwnd=H class=C parent=H                  at each SpotField\n"
    "All numbers and handles are decimal, lParam as a signed 64-bit value. TEXT runs\n"
    "to the end of the line; bytes below 32 and the backslash are written as \\xNN.\n";

namespace {

std::uint32_t parseNumber(const std::string& text, const std::string& what) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
    throw UsageError(what + ": not a number: \"" + text + "\"");
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
  if (errno != 0 || value > 0xFFFFFFFFull) throw UsageError(what + ": out of range: " + text);
  return static_cast<std::uint32_t>(value);
}

PortScript parsePortMode(const std::string& mode) {
  if (mode == "grant") return {PortMode::Grant};
  if (mode == "accept-only") return {PortMode::AcceptOnly};
  if (mode == "silent") return {PortMode::Silent};
  if (mode == "zero") return {PortMode::Zero};
  if (mode.rfind("reply:", 0) == 0) {
    const std::string pair = mode.substr(6);
    const auto comma = pair.find(',');
    if (comma == std::string::npos) throw UsageError("--port: reply needs W,L: " + mode);
    return {PortMode::Reply, parseNumber(pair.substr(0, comma), "--port reply W"),
            parseNumber(pair.substr(comma + 1), "--port reply L")};
  }
  throw UsageError("--port: unknown mode \"" + mode + "\"");
}

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
  Options o;
  bool portNamed = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--port") {
      const std::string& portArg = value();
      const auto eq = portArg.find('=');
      if (eq != 1 || portArg[0] < '1' || portArg[0] > '5')
        throw UsageError("--port wants N=MODE with N from 1 to 5: " + portArg);
      portNamed = true;
      o.ports[portArg[0] - '1'] = parsePortMode(portArg.substr(2));
    } else if (a == "--spots") {
      o.spotsFile = value();
    } else if (a == "--rate") {
      o.spotRateMs = parseNumber(value(), a);
      if (o.spotRateMs == 0) throw UsageError("--rate must be at least 1");
    } else if (a == "--loop") {
      o.loopSpots = true;
    } else if (a == "--freq") {
      o.frequencies.push_back(parseNumber(value(), a));
    } else if (a == "--freq-every") {
      o.frequencyEveryMs = parseNumber(value(), a);
      if (o.frequencyEveryMs == 0) throw UsageError("--freq-every must be at least 1");
    } else if (a == "--title") {
      o.title = value();
    } else if (a == "--start-delay") {
      o.startDelayMs = parseNumber(value(), a);
    } else if (a == "--exit-after") {
      char* end = nullptr;
      const std::string& s = value();
      o.exitAfterSeconds = std::strtod(s.c_str(), &end);
      if (s.empty() || *end != '\0' || o.exitAfterSeconds <= 0)
        throw UsageError("--exit-after wants a positive number of seconds: " + s);
    } else if (a == "--log") {
      o.logFile = value();
    } else if (a == "--watch") {
      o.watchClass = value();
    } else if (a == "--bare") {
      o.bare = true;
    } else if (a == "--bare-only") {
      o.bare = o.bareOnly = true;
    } else if (a == "--receiver") {
      o.receiver = true;
    } else if (a == "--control") {
      o.controlFile = value();
    } else {
      throw UsageError("unknown option \"" + a + "\" (see --help)");
    }
  }
  if (!portNamed) o.ports[0].mode = PortMode::Grant;
  return o;
}

}  // namespace l32sim
