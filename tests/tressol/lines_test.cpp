#include "lines.h"

#include <gtest/gtest.h>

#include "run_output.h"

#include <string>

namespace tressol {
namespace {

TEST(Laid, WrapsMarkedLinesToTheConsoleNeverInsideAWordOrAName) {
  const std::string sentence =
      Wrap("Tressol : le fichier " + Named("C:\\Mes programmes\\Projet final.exe") +
               " est introuvable ; vérifiez le chemin.",
           "  ");
  struct Case {
    std::size_t width;
    const char* laid;
  };
  const Case cases[] = {
      // A file or a pipe: one line, whatever its length.
      {0,
       "Tressol : le fichier C:\\Mes programmes\\Projet final.exe est introuvable ; vérifiez le "
       "chemin.\n"},
      // The last column stays free; a sign stays with the word before it.
      {40,
       "Tressol : le fichier\n"
       "  C:\\Mes programmes\\Projet final.exe\n"
       "  est introuvable ; vérifiez le chemin.\n"},
      // A name wider than the console stands on a line of its own, unbroken.
      {20,
       "Tressol : le\n"
       "  fichier\n"
       "  C:\\Mes programmes\\Projet final.exe\n"
       "  est introuvable ;\n"
       "  vérifiez le\n"
       "  chemin.\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Laid(sentence, c.width), c.laid) << c.width;
  // A line Wrap did not mark (a command to be copied) is kept whole, its marks removed.
  EXPECT_EQ(Laid("  tressol --undo " + Named("/tmp/un journal.txt") + "\n", 20),
            "  tressol --undo /tmp/un journal.txt\n");
  // Typeset for a console once, as it is laid: laid again, the command is still as it was.
  Output output;
  output.outTypeset = true;
  output.out = Wrap("Annuler : " + Kept("tressol --undo '/j ; k'"), "  ");
  output.Lay();
  output.Lay();
  EXPECT_EQ(output.out, "Annuler\xC2\xA0: tressol --undo '/j ; k'\n");
}

}  // namespace
}  // namespace tressol
