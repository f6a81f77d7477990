<?xml version="1.0" encoding="UTF-8"?>
<!--
  Non-inventory sales: invoice lines sold under an item number that the inventory does not know, so that the
  owner can decide what to stock. Pass the date to print as the parameter "today" (MM/dd/yyyy); without it
  the processor's own date is used where it has one.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:date="http://exslt.org/dates-and-times" extension-element-prefixes="date"
                exclude-result-prefixes="date">
  <xsl:output method="html" encoding="UTF-8" indent="yes" doctype-system="about:legacy-compat"/>

  <xsl:param name="today" select="''"/>

  <xsl:template name="today">
    <xsl:choose>
      <xsl:when test="string($today) != ''"><xsl:value-of select="$today"/></xsl:when>
      <xsl:when test="function-available('date:date')">
        <xsl:variable name="d" select="date:date()"/>
        <xsl:value-of select="concat(substring($d, 6, 2), '/', substring($d, 9, 2), '/', substring($d, 1, 4))"/>
      </xsl:when>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="money">
    <xsl:param name="value"/>
    <xsl:choose>
      <xsl:when test="string(number($value)) != 'NaN'">
        <xsl:value-of select="format-number(number($value), '#,##0.00;-#,##0.00')"/>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$value"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="/">
    <html lang="en">
      <head>
        <meta charset="UTF-8"/>
        <title>Non-Inventory Sales</title>
        <style>
          body { font-family: "DejaVu Sans", "Segoe UI", Arial, sans-serif; color: #222; margin: 2em auto;
                 max-width: 64em; padding: 0 1em; }
          header { display: flex; justify-content: space-between; align-items: baseline;
                   border-bottom: 3px solid #7a4a8c; margin-bottom: 1.5em; }
          h1 { font-size: 1.8em; margin: 0 0 .3em 0; color: #7a4a8c; }
          .date { font-size: 1.1em; color: #555; }
          table { width: 100%; border-collapse: collapse; font-size: .95em; }
          th, td { padding: .4em .6em; border-bottom: 1px solid #e0dbe4; vertical-align: top; }
          th { text-align: left; background: #f3eef6; font-weight: 600; }
          .num { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
          tbody tr:nth-child(even) td { background: #faf8fb; }
          tr.total td { font-weight: 700; border-top: 2px solid #7a4a8c; border-bottom: none; background: none; }
          .empty { padding: 2em; text-align: center; color: #777; border: 1px dashed #ccc; }
          .code { font-family: "DejaVu Sans Mono", Consolas, monospace; }
          @page { margin: 15mm; }
          @media print { body { margin: 0; max-width: none; } tr { page-break-inside: avoid; }
                         thead { display: table-header-group; } }
        </style>
      </head>
      <body>
        <xsl:apply-templates select="noninventoryreport"/>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="noninventoryreport">
    <xsl:variable name="items" select="noninventoryitems/item"/>
    <header>
      <h1>Non-Inventory Sales</h1>
      <div class="date"><xsl:call-template name="today"/></div>
    </header>
    <xsl:choose>
      <xsl:when test="not($items)">
        <p class="empty">No items outside the inventory have been sold.</p>
      </xsl:when>
      <xsl:otherwise>
        <table>
          <thead>
            <tr>
              <th>Item number</th><th>Description</th><th>Remark</th><th>Customer</th>
              <th class="num">Unit price</th><th class="num">Unit cost</th><th class="num">Margin</th>
            </tr>
          </thead>
          <tbody>
            <xsl:for-each select="$items">
              <tr>
                <td class="code"><xsl:value-of select="itemnumber"/></td>
                <td><xsl:value-of select="description"/></td>
                <td><xsl:value-of select="remark"/></td>
                <td><xsl:value-of select="customer"/></td>
                <td class="num"><xsl:call-template name="money"><xsl:with-param name="value" select="unitprice"/></xsl:call-template></td>
                <td class="num"><xsl:call-template name="money"><xsl:with-param name="value" select="unitcost"/></xsl:call-template></td>
                <td class="num">
                  <xsl:if test="string(number(unitprice)) != 'NaN' and string(number(unitcost)) != 'NaN'">
                    <xsl:call-template name="money">
                      <xsl:with-param name="value" select="number(unitprice) - number(unitcost)"/>
                    </xsl:call-template>
                  </xsl:if>
                </td>
              </tr>
            </xsl:for-each>
          </tbody>
          <tfoot>
            <xsl:variable name="priced" select="$items[string(number(unitprice)) != 'NaN']"/>
            <xsl:variable name="costed" select="$items[string(number(unitcost)) != 'NaN']"/>
            <tr class="total">
              <td colspan="4">
                <xsl:value-of select="count($items)"/>
                <xsl:choose><xsl:when test="count($items) = 1"> line sold</xsl:when><xsl:otherwise> lines sold</xsl:otherwise></xsl:choose>
              </td>
              <td class="num"><xsl:call-template name="money"><xsl:with-param name="value" select="sum($priced/unitprice)"/></xsl:call-template></td>
              <td class="num"><xsl:call-template name="money"><xsl:with-param name="value" select="sum($costed/unitcost)"/></xsl:call-template></td>
              <td></td>
            </tr>
          </tfoot>
        </table>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
