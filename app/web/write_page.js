// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The page the program starts in as the site is built (write_page.cpp):
//   node write_page.js PAGE_TEMPLATE MANIFEST_TEMPLATE PROGRAM PAGE MANIFEST STYLE...
// jsdom's document of the page's template, with what jsdom lacks answered as
// a browser with no layout would: a canvas that measures no text, so that
// every caption keeps its table's size. Module.writeSite then writes the
// page, its style sheets and the program's script (PROGRAM, Emscripten's
// output for the browser) in it, and the manifest.
(function () {
    const fs = require("fs");
    const crypto = require("crypto");
    const {JSDOM} = require("jsdom");

    const [pageTemplate, manifestTemplate, program, pageFile, manifestFile, ...styles] =
        process.argv.slice(2);
    const page = new JSDOM(fs.readFileSync(pageTemplate, "utf8"));
    page.window.HTMLCanvasElement.prototype.getContext = () => null;
    globalThis.document = page.window.document;
    globalThis.getComputedStyle = page.window.getComputedStyle.bind(page.window);

    // What the program sets on each element's style, kept as it was set: the
    // page's Content-Security-Policy admits no style attribute, and jsdom's
    // style objects drop the colours that follow the system's (Field). Each
    // element's becomes a rule for its id, in the one style sheet the policy
    // admits, by its hash.
    const declarations = new Map();
    Object.defineProperty(page.window.HTMLElement.prototype, "style", {
        get() {
            const element = this;
            return {
                setProperty(property, value) {
                    if (!declarations.has(element))
                        declarations.set(element, []);
                    declarations.get(element).push(`${property}: ${value};`);
                }
            };
        }
    });

    // The sheets' comments and indents stay in the sources.
    function styleSheet() {
        const rules = [];
        declarations.forEach((declared, element) => {
            rules.push(`#${element.id} { ${declared.join(" ")} }`);
        });
        const sheets = styles.map((file) => fs.readFileSync(file, "utf8"));
        return sheets.concat(rules).join("\n").replace(/\/\*[\s\S]*?\*\//g, "")
            .replace(/^\s+/gm, "");
    }

    // The page's Content-Security-Policy admits the text of an inline style
    // or script by its hash, added to the template's directive.
    function admit(directive, text) {
        const policy = page.window.document.querySelector(
            "meta[http-equiv=Content-Security-Policy]");
        const hash = crypto.createHash("sha256").update(text).digest("base64");
        policy.content = policy.content.replace(
            new RegExp(`\\b${directive}[^;]*`), (sources) => `${sources} 'sha256-${hash}'`);
    }

    // The program's script, in the page's HTML: no second file to ask for
    // before the program starts. As a module it runs once the page is read,
    // the window there to take over, and holds up neither the reading nor
    // the first paint. Its text must not end the element early.
    function programScript(document) {
        const text = fs.readFileSync(program, "utf8");
        if (/<\/script|<!--/i.test(text))
            throw new Error(`${program} cannot stand inside the page's <script> element`);
        const script = document.createElement("script");
        script.type = "module";
        script.textContent = text;
        document.body.appendChild(script);
        return text;
    }

    Module["writeSite"] = function (name, description) {
        const document = page.window.document;
        document.querySelector("meta[name=description]").content = description;
        const style = document.querySelector("style");
        style.textContent = "\n" + styleSheet() + "\n";
        admit("style-src", style.textContent);
        admit("script-src", programScript(document));
        fs.writeFileSync(pageFile, page.serialize() + "\n");
        const manifest = JSON.parse(fs.readFileSync(manifestTemplate, "utf8"));
        const named = Object.assign({name, description}, manifest);
        fs.writeFileSync(manifestFile, JSON.stringify(named, null, 2) + "\n");
    };
})();
