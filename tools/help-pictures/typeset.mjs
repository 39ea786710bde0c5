// Sets one TeX formula with MathJax and writes an SVG of exactly the given size in pixels: the
// formula black, centred, as large as fits (at most the size of 13 pt text), the rest transparent.
// Usage: node typeset.mjs WIDTH HEIGHT 'TEX' > out.svg
import { mathjax } from 'mathjax-full/js/mathjax.js';
import { TeX } from 'mathjax-full/js/input/tex.js';
import { SVG } from 'mathjax-full/js/output/svg.js';
import { liteAdaptor } from 'mathjax-full/js/adaptors/liteAdaptor.js';
import { RegisterHTMLHandler } from 'mathjax-full/js/handlers/html.js';
import { AllPackages } from 'mathjax-full/js/input/tex/AllPackages.js';

const [width, height, tex] = [Number(process.argv[2]), Number(process.argv[3]), process.argv[4]];
const adaptor = liteAdaptor();
RegisterHTMLHandler(adaptor);
const document = mathjax.document('', {
    InputJax: new TeX({ packages: AllPackages }),
    OutputJax: new SVG({ fontCache: 'none', mtextInheritFont: false }),
});
const node = document.convert(tex, { display: true, em: 16, ex: 8, containerWidth: 1000 });
const svg = adaptor.firstChild(node);
const [vx, vy, vw, vh] = adaptor.getAttribute(svg, 'viewBox').split(/\s+/).map(Number);

// MathJax measures in thousandths of an em; the largest em that fits with a margin of 3 px.
const margin = 3;
const em = Math.min(17.5, ((width - 2 * margin) * 1000) / vw, ((height - 2 * margin) * 1000) / vh);
const scale = em / 1000;
const dx = (width - vw * scale) / 2 - vx * scale;
const dy = (height - vh * scale) / 2 - vy * scale;
const inner = adaptor.innerHTML(svg).replace(/currentColor/g, '#000000');
process.stdout.write(
    `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" ` +
    `width="${width}" height="${height}" viewBox="0 0 ${width} ${height}">\n` +
    `<g fill="#000000" stroke="#000000" stroke-width="0" ` +
    `transform="translate(${dx.toFixed(3)} ${dy.toFixed(3)}) scale(${scale.toFixed(6)})">${inner}</g>\n</svg>\n`);
